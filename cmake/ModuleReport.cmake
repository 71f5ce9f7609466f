# Prints a built module's size and the DLLs it imports, and fails the build when the module imports
# a DLL that is not in ALLOWED_IMPORTS (a C runtime, say), has a TLS directory, or, where MAX_BYTES
# is given, is larger than that.
# Run with -DMODULE=<file> -DOBJDUMP=<objdump> [-DALLOWED_IMPORTS=a.dll,b.dll] [-DMAX_BYTES=n].
file(SIZE "${MODULE}" size)
execute_process(COMMAND "${OBJDUMP}" -p "${MODULE}" OUTPUT_VARIABLE headers)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
string(REPLACE "DLL Name: " "" imports "${imports}")
get_filename_component(name "${MODULE}" NAME)
math(EXPR kilobytes "(${size} + 1023) / 1024")
message(STATUS "${name}: ${size} bytes (${kilobytes} KB); imports: ${imports}")

if(DEFINED ALLOWED_IMPORTS)
  string(TOLOWER "${ALLOWED_IMPORTS}" allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  foreach(import ${imports})
    string(TOLOWER "${import}" import)
    list(FIND allowed "${import}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "${name} imports ${import}, which is not one of: ${ALLOWED_IMPORTS}")
    endif()
  endforeach()
  # The data directory's entry 9: "Entry 9 <address> <size> Thread Storage Directory [.tls]".
  if(headers MATCHES "Entry 9 +([0-9a-fA-F]+) +([0-9a-fA-F]+)")
    if(NOT CMAKE_MATCH_2 MATCHES "^0+$")
      message(FATAL_ERROR "${name} has a TLS directory, whose callbacks would run on every thread")
    endif()
  endif()
endif()
if(DEFINED MAX_BYTES AND size GREATER MAX_BYTES)
  message(FATAL_ERROR "${name} is ${size} bytes, more than the ${MAX_BYTES} it may weigh")
endif()
