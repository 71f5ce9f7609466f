set(WL_LOOKUP_SOURCES
  lookup/WinApiHacks.cpp
  lookup/ForegroundGrabberFrm.cpp
)
