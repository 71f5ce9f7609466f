# Prints a built module's size and the DLLs it imports. Run with -DMODULE=<file> -DOBJDUMP=<objdump>.
file(SIZE "${MODULE}" size)
execute_process(COMMAND "${OBJDUMP}" -p "${MODULE}" OUTPUT_VARIABLE headers)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
string(REPLACE "DLL Name: " "" imports "${imports}")
get_filename_component(name "${MODULE}" NAME)
math(EXPR kilobytes "(${size} + 1023) / 1024")
message(STATUS "${name}: ${size} bytes (${kilobytes} KB); imports: ${imports}")
