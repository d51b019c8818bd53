# Writes one embedded resource as a C++ source file:
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<symbol> -P EmbedResource.cmake
# The block is a char array whose last element is a zero byte that the size does not count,
# so a text block can be read as a zero-terminated string.
file(READ "${INPUT}" hex HEX)
file(SIZE "${INPUT}" size)
# One character literal per byte: each element already has type char, so no value needs a
# narrowing conversion whatever the signedness of char.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# Break the initializer into lines of 32 bytes to keep the file friendly to editors and diffs.
string(REGEX REPLACE "(('[^']*',){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${NAME}; do not edit.\n"
  "#include \"resources/BinaryData.h\"\n\n"
  "namespace kelmora::resources\n{\n"
  "const char ${NAME}[] = {\n${bytes}'\\0' };\n"
  "const int ${NAME}Size = ${size};\n"
  "} // namespace kelmora::resources\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
