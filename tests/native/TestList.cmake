# The host-built test programs, shared with the cross build so that one ctest run covers both tiers.
set(WL_NATIVE_TESTS KeyCombosTests WebLinksTests UrlTextTests LookupTextTests ConfigPagesTests
    DictionaryTests DictionaryComparisonTests AnswerTextTests WordFormsTests)
