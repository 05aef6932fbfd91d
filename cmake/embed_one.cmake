# Writes one file as a C array: cmake -DIN=file -DOUT=file.cpp -DSYMBOL=name -P embed_one.cmake
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hex_len)
math(EXPR size "${hex_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x[0-9a-f][0-9a-f],){16}" "\\0\n" bytes "${bytes}")
file(WRITE ${OUT} "#include <cstddef>\nextern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\nconst unsigned char ${SYMBOL}[] = {\n${bytes}0};\nconst std::size_t ${SYMBOL}_size = ${size};\n")
