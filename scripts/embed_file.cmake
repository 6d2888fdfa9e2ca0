# Writes a C++ source that holds a file's bytes: cmake -DINPUT=file -DOUTPUT=out.cpp
# -DNAME=symbol -P embed_file.cmake. The array is 32-byte aligned, as the loaders expect
# of buffers they read, and its size is a second symbol, NAME + "Size".
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "((0x..,){20})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
     "// Made by embed_file.cmake from ${INPUT}.\n"
     "alignas(32) extern const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
     "extern const unsigned int ${NAME}Size = ${size};\n")
