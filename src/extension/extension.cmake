# The LibreOffice Calc extension (make oxt): the toolbox and the Calc host built into one UNO
# component, packed with its registry files into build/tavrin.oxt. Included from
# src/CMakeLists.txt when Debian's LibreOffice SDK is installed; nothing here is part of the
# ordinary build.
set(TAVRIN_LO_PROGRAM /usr/lib/libreoffice/program)
set(uno_headers ${CMAKE_BINARY_DIR}/uno-headers)

# The C++ headers of the UNO types, made by the SDK's cppumaker.
add_custom_command(
  OUTPUT ${uno_headers}/stamp
  COMMAND ${TAVRIN_LO_SDK}/bin/cppumaker -Gc -O${uno_headers} ${TAVRIN_LO_PROGRAM}/types.rdb
          ${TAVRIN_LO_PROGRAM}/types/offapi.rdb
  COMMAND ${CMAKE_COMMAND} -E touch ${uno_headers}/stamp
  COMMENT "Making the UNO headers")
# The extension's own types (the conversion functions' interface), a type library in the package
# and headers beside Calc's.
file(GLOB_RECURSE idl_files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/extension/idl/*.idl)
set(own_types ${CMAKE_BINARY_DIR}/tavrin-types.rdb)
add_custom_command(
  OUTPUT ${own_types} ${uno_headers}/own-stamp
  COMMAND ${TAVRIN_LO_SDK}/bin/unoidl-write ${TAVRIN_LO_PROGRAM}/types.rdb
          ${TAVRIN_LO_PROGRAM}/types/offapi.rdb ${CMAKE_CURRENT_SOURCE_DIR}/extension/idl ${own_types}
  COMMAND ${TAVRIN_LO_SDK}/bin/cppumaker -Gc -O${uno_headers} ${own_types}
          -X${TAVRIN_LO_PROGRAM}/types.rdb -X${TAVRIN_LO_PROGRAM}/types/offapi.rdb
  COMMAND ${CMAKE_COMMAND} -E touch ${uno_headers}/own-stamp
  DEPENDS ${idl_files} ${uno_headers}/stamp
  COMMENT "Making the extension's type library")
add_custom_target(tavrin_uno_headers DEPENDS ${uno_headers}/stamp ${uno_headers}/own-stamp)

# The layers the extension holds, compiled once more as position-independent code. The Calc
# host sees the host interface only, as the embedded spreadsheet does; the component beside it
# sees the toolbox and the session's dialog form and runtime.
file(GLOB calc_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/calc/*.cpp)
file(GLOB host_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/host/*.cpp)
add_library(tavrin_calc_host STATIC EXCLUDE_FROM_ALL ${calc_sources} ${host_sources})
tavrin_layer(tavrin_calc_host host calc)
set(oxt_sources)
foreach(folder ${TAVRIN_TOOLBOX_FOLDERS} extension x11)
  file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*/*.cpp)
  list(APPEND oxt_sources ${found})
endforeach()
list(REMOVE_ITEM oxt_sources ${CMAKE_CURRENT_SOURCE_DIR}/extension/addons_menu.cpp)
foreach(file dialog_form message_box machine_runtime)
  list(APPEND oxt_sources ${CMAKE_CURRENT_SOURCE_DIR}/session/${file}.cpp)
endforeach()
add_library(tavrin_calc MODULE EXCLUDE_FROM_ALL ${oxt_sources}
            ${CMAKE_CURRENT_BINARY_DIR}/info_bitmap_data.cpp)
tavrin_layer(tavrin_calc host ${TAVRIN_TOOLBOX_FOLDERS} session calc extension x11)
foreach(target tavrin_calc_host tavrin_calc)
  add_dependencies(${target} tavrin_uno_headers)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden UNITY_BUILD OFF
                        POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${target} SYSTEM PRIVATE ${uno_headers} ${TAVRIN_LO_SDK}/include)
  target_compile_definitions(${target} PRIVATE UNX GCC LINUX CPPU_ENV=gcc3)
endforeach()
set_target_properties(tavrin_calc PROPERTIES PREFIX "lib" OUTPUT_NAME "tavrincalc")
target_link_directories(tavrin_calc PRIVATE ${TAVRIN_LO_SDK}/lib)
# The information window is an X11 window, as the command line's.
find_package(X11 REQUIRED)
find_package(Fontconfig REQUIRED)
target_link_libraries(tavrin_calc PRIVATE tavrin_calc_host uno_cppuhelpergcc3 uno_cppu uno_sal
                                          ICU::uc X11::X11 X11::Xext X11::Xft
                                          Fontconfig::Fontconfig)
target_link_options(tavrin_calc PRIVATE -Wl,--no-undefined -s)

# Addons.xcu: the menu and the toolbar, made from the command table the component's own menu
# is built from.
add_executable(tavrin_addons_menu EXCLUDE_FROM_ALL
               ${CMAKE_CURRENT_SOURCE_DIR}/extension/addons_menu.cpp)
tavrin_layer(tavrin_addons_menu host ${TAVRIN_TOOLBOX_FOLDERS} extension)

set(package ${CMAKE_CURRENT_SOURCE_DIR}/extension/package)
set(staged ${CMAKE_BINARY_DIR}/oxt)
set(oxt ${CMAKE_BINARY_DIR}/tavrin.oxt)
file(GLOB package_files CONFIGURE_DEPENDS ${package}/* ${package}/*/*)
add_custom_command(
  OUTPUT ${oxt}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${staged} ${oxt}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${package} ${staged}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tavrin_calc> ${staged}/
  COMMAND ${CMAKE_COMMAND} -E copy ${own_types} ${staged}/tavrin.rdb
  COMMAND $<TARGET_FILE:tavrin_addons_menu> ${staged}/registry/Addons.xcu
  COMMAND cd ${staged} && zip -q -r -X ${oxt} .
  DEPENDS tavrin_calc tavrin_addons_menu ${package_files} ${own_types}
  COMMENT "Packing tavrin.oxt")
add_custom_target(oxt DEPENDS ${oxt})
