# Tests of the lookup engine against the real clipboard, keyboard and shell.
wl_test_helper(ClipboardHolder helpers/ClipboardHolder.cpp)
wl_test_helper(StubBrowser WIN32 helpers/StubBrowser.cpp)

wl_wine_test(ClipboardTests ClipboardTests.cpp)
target_link_libraries(ClipboardTests PRIVATE wl_app)
add_dependencies(ClipboardTests ClipboardHolder KeyTarget)

wl_wine_test(LookupUrlTests LookupUrlTests.cpp)
target_link_libraries(LookupUrlTests PRIVATE wl_app)
add_dependencies(LookupUrlTests StubBrowser)

wl_wine_test(LookupEngineTests LookupEngineTests.cpp ${PROJECT_SOURCE_DIR}/src/lookup/EditAndLookupFrm.rc)
target_link_libraries(LookupEngineTests PRIVATE wl_app)
add_dependencies(LookupEngineTests StubBrowser)

wl_wine_test(LookupEndToEndTests LookupEndToEndTests.cpp)
target_include_directories(LookupEndToEndTests PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
add_dependencies(LookupEndToEndTests WL Tarnwick2 KeyTarget StubBrowser)

wl_wine_test(EveryProgramTests EveryProgramTests.cpp)
target_include_directories(EveryProgramTests PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
add_dependencies(EveryProgramTests WL Tarnwick2 KeyTarget KeyTarget32 StubBrowser)

wl_wine_test(DictionaryLookupTests DictionaryLookupTests.cpp)
target_include_directories(DictionaryLookupTests PRIVATE ${PROJECT_SOURCE_DIR}/src/lookup ${PROJECT_SOURCE_DIR}/src/app)
add_dependencies(DictionaryLookupTests WL Tarnwick2 StubBrowser)

# Shows the answer window for scripts/answer-screenshots.sh.
add_executable(AnswerScreenshot helpers/AnswerScreenshot.cpp)
target_link_libraries(AnswerScreenshot PRIVATE wl_testsupport shell32)
add_dependencies(AnswerScreenshot WL Tarnwick2)
if(NOT MSVC)
  target_link_options(AnswerScreenshot PRIVATE -static)
endif()
