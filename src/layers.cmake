# The layering, enforced: a target's include path is a view of src/ holding only the folders its
# layer may include, so an include against the arrows (a tool including the spreadsheet, the
# spreadsheet including the toolbox) does not compile. Includes name the folder: "host/range.h".
function(tavrin_layer target)
  set(view ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${view})
  file(MAKE_DIRECTORY ${view})
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${view}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
endfunction()

set(TAVRIN_TOOLBOX_FOLDERS component menu tools functions infowindow)
set(TAVRIN_BELOW_SESSION host ${TAVRIN_TOOLBOX_FOLDERS} spreadsheet io)
