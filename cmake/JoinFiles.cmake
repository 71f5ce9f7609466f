# Writes the files INPUTS (a list separated by "|") one after the other into OUTPUT.
# Usage: cmake -DINPUTS=a|b -DOUTPUT=out -P JoinFiles.cmake
string(REPLACE "|" ";" inputs "${INPUTS}")
file(WRITE "${OUTPUT}.new" "")
foreach(input IN LISTS inputs)
  file(READ "${input}" text)
  file(APPEND "${OUTPUT}.new" "${text}")
endforeach()
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
