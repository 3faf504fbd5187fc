# cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=ns::name -DHEADER=header -P EmbedFile.cmake
# Writes a C++ source whose function returns INPUT's bytes. Bytes rather than a string literal:
# the SQL is longer than the literals a pedantic compiler accepts.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
string(REGEX MATCH "^(.*)::([^:]+)$" unused "${FUNCTION}")
set(namespace "${CMAKE_MATCH_1}")
set(name "${CMAKE_MATCH_2}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by EmbedFile.cmake; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace {\n"
  "const unsigned char kBytes[${size} + 1] = {\n${bytes}0};\n"
  "}\n\n"
  "QByteArray ${namespace}::${name}() {\n"
  "  return QByteArray::fromRawData(reinterpret_cast<const char *>(kBytes), ${size});\n"
  "}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
