# Embeds every file under web/ into the server as byte arrays, by its path under web/. Included
# from src/CMakeLists.txt, it adds the generated source to tavrin_server; run with -P, it writes
# that source.
if(CMAKE_SCRIPT_MODE_FILE)
  file(GLOB_RECURSE files RELATIVE ${INPUT} ${INPUT}/*)
  list(SORT files)
  set(arrays "")
  set(entries "")
  set(index 0)
  foreach(name IN LISTS files)
    file(READ ${INPUT}/${name} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # A closing 0 keeps an empty file's array from having no element.
    string(APPEND arrays "const unsigned char webAsset${index}[] = {${bytes}0};\n")
    string(APPEND entries "    {\"${name}\", {reinterpret_cast<const char*>(webAsset${index}), ${size}}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  file(WRITE ${OUTPUT}.new
    "#include \"server/web_assets.h\"\n\nnamespace tavrin {\n\nnamespace {\n\n${arrays}\n}  // namespace\n\n"
    "std::span<const WebAsset> WebAssets() {\n  static const WebAsset assets[] = {\n${entries}"
    "      {\"\", {}}};\n  return {assets, std::size(assets) - 1};\n}\n\n}  // namespace tavrin\n")
  file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
  file(REMOVE ${OUTPUT}.new)
  return()
endif()

file(GLOB_RECURSE web_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/web_assets_data.cpp)
add_custom_command(
  OUTPUT ${generated}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/web -DOUTPUT=${generated}
          -P ${CMAKE_CURRENT_LIST_DIR}/embed_web.cmake
  DEPENDS ${web_files} ${CMAKE_CURRENT_LIST_DIR}/embed_web.cmake
  COMMENT "Embedding the page's files")
target_sources(tavrin_server PRIVATE ${generated})
