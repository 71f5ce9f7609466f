# End-to-end tests of the tray program: the real WL.exe started in the test desktop and driven
# from outside, plus the foreground helpers in process.
wl_test_helper(PostToWordlark helpers/PostToWordlark.cpp)
wl_test_helper(SlowToEndCopy helpers/SlowToEndCopy.cpp)
wl_test_helper(WordlarkPage helpers/WordlarkPage.cpp)
target_link_libraries(WordlarkPage PRIVATE wl_testsupport)
wl_test_helper(StubUninstaller helpers/StubUninstaller.cpp)

wl_wine_test(AppTests AppTests.cpp)
add_dependencies(AppTests WL Tarnwick2 KeyTarget PostToWordlark SlowToEndCopy)

wl_wine_test(AppForegroundTests ForegroundHelperTests.cpp ${PROJECT_SOURCE_DIR}/src/lookup/WinApiHacks.cpp
             ${PROJECT_SOURCE_DIR}/src/lookup/ForegroundGrabberFrm.cpp ${PROJECT_SOURCE_DIR}/src/app/Help.cpp)
target_include_directories(AppForegroundTests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(AppForegroundTests PRIVATE shell32)
add_dependencies(AppForegroundTests KeyTarget)

# The configuration window's pages, driven as a user would.
wl_wine_test(ConfigPagesTests ConfigPagesTests.cpp)
target_include_directories(ConfigPagesTests PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
add_dependencies(ConfigPagesTests WL Tarnwick2 StubUninstaller)

wl_wine_test(CaptionFitTests CaptionFitTests.cpp)
target_include_directories(CaptionFitTests PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
add_dependencies(CaptionFitTests WL Tarnwick2)
