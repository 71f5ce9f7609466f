# The installer built from this tree, installed, updated and uninstalled in the test desktop.
if(TARGET Installer)
  wl_wine_test(InstallerTests InstallerTests.cpp)
  target_link_libraries(InstallerTests PRIVATE shell32 version)
  target_include_directories(InstallerTests PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
  add_dependencies(InstallerTests Installer Portable WL KeyTarget)
  # The portable download unzipped on the host, where the tests run it from.
  add_test(NAME portable.unzip COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR} ${CMAKE_COMMAND} -E
                                       tar xf ${WL_PORTABLE_ZIP})
  set_tests_properties(portable.unzip PROPERTIES FIXTURES_SETUP Unzipped)
  set_tests_properties(wine.InstallerTests PROPERTIES FIXTURES_REQUIRED Unzipped)
endif()
# For scripts/installer-screenshots.sh, which walks through the installer's pages.
wl_test_helper(ClickButton helpers/ClickButton.cpp)
