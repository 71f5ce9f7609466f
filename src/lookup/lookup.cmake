set(WL_LOOKUP_SOURCES
  lookup/WinApiHacks.cpp
  lookup/ForegroundGrabberFrm.cpp
  lookup/ClipboardLib.cpp
  lookup/LookupUrl.cpp
)
