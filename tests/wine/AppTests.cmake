# End-to-end tests of the tray program: the real WL.exe started in the test desktop and driven
# from outside, plus the foreground helpers in process.
wl_test_helper(PostToWordlark helpers/PostToWordlark.cpp)
