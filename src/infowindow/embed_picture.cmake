# Embeds assets/info.bmp into the toolbox as a byte array. Included from src/CMakeLists.txt, it
# adds the generated source to tavrin_toolbox; run with -P, it writes that source.
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ ${INPUT} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  file(WRITE ${OUTPUT}
    "#include <cstddef>\n#include <cstdint>\n\nnamespace tavrin {\n\n"
    "extern const std::uint8_t infoBitmap[];\nextern const std::size_t infoBitmapSize;\n"
    "const std::uint8_t infoBitmap[] = {${bytes}};\n"
    "const std::size_t infoBitmapSize = ${size};\n\n}  // namespace tavrin\n")
  return()
endif()

set(picture ${PROJECT_SOURCE_DIR}/assets/info.bmp)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/info_bitmap_data.cpp)
add_custom_command(
  OUTPUT ${generated}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${picture} -DOUTPUT=${generated}
          -P ${CMAKE_CURRENT_LIST_DIR}/embed_picture.cmake
  DEPENDS ${picture} ${CMAKE_CURRENT_LIST_DIR}/embed_picture.cmake
  COMMENT "Embedding the information window's picture")
target_sources(tavrin_toolbox PRIVATE ${generated})
