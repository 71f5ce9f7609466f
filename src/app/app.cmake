set(WL_APP_SOURCES
  app/AnchorLayout.cpp
  app/BundledDictionaries.cpp
  app/ConfigFrm.cpp
  app/ConfigFrmDictionaries.cpp
  app/ConfigFrmHotKeys.cpp
  app/ConfigFrmOverview.cpp
  app/ConfigFrmPrograms.cpp
  app/ConfigFrmWebLinks.cpp
  app/Help.cpp
  app/OpenFilesDialog.cpp
  app/SingleInstance.cpp
)
set(WL_APP_RESOURCES
  app/ConfigFrm.rc
  app/WL.rc
)

# The icons are drawn by a script into the build folder; WL.rc finds them through the include path.
set(WL_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(
  OUTPUT ${WL_ICON_DIR}/MainIcon.ico ${WL_ICON_DIR}/MainIconDisabled.ico
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make-icons.py ${WL_ICON_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-icons.py
  COMMENT "Drawing the program icons"
  VERBATIM)
add_custom_target(wl_icons DEPENDS ${WL_ICON_DIR}/MainIcon.ico ${WL_ICON_DIR}/MainIconDisabled.ico)
set_source_files_properties(app/WL.rc PROPERTIES
  OBJECT_DEPENDS "${WL_ICON_DIR}/MainIcon.ico;${WL_ICON_DIR}/MainIconDisabled.ico;${CMAKE_CURRENT_SOURCE_DIR}/app/WL.manifest")
set_source_files_properties(app/ConfigFrm.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/ConfigFrmRes.h)

# One help page per topic, copied beside the program under its name (WL-110.html ...).
set(WL_HELP_TOPICS 110 120 125 130 135 140 145)
