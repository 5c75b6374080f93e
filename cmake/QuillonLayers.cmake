# A layer of the program: a static library of one folder's listed sources, linked to the
# layers below it. Before its sources compile, the build checks that none of them
# includes a header of a layer above (tools/check-layers.py).
#
# quillon_layer(<target> FOLDER <folder> [BELOW <folder>...] SOURCES <file>...
#               [LINK <target>...])
function(quillon_layer target)
  cmake_parse_arguments(L "" "FOLDER" "BELOW;SOURCES;LINK" ${ARGN})
  list(TRANSFORM L_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/$]")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.layers-checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/check-layers.py
            ${L_FOLDER} ${L_FOLDER} ${L_BELOW} -- ${L_SOURCES}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${L_SOURCES} ${PROJECT_SOURCE_DIR}/tools/check-layers.py
    COMMENT "Checking that ${L_FOLDER}/ includes nothing above it"
    VERBATIM)
  add_library(${target} STATIC ${L_SOURCES} ${stamp})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${L_LINK})
endfunction()
