# The installer built from this tree, installed, updated and uninstalled in the test desktop.
if(TARGET Installer)
  wl_wine_test(InstallerTests InstallerTests.cpp)
  target_link_libraries(InstallerTests PRIVATE shell32 version)
  target_include_directories(InstallerTests PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
  add_dependencies(InstallerTests Installer WL KeyTarget)
endif()
# For scripts/installer-screenshots.sh, which walks through the installer's pages.
wl_test_helper(ClickButton helpers/ClickButton.cpp)
