# The build fails when a file includes a layer above its own (see
# check-layers.cmake), checked again whenever one of them changes.
file(GLOB_RECURSE _tendra_layer_files CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/cad/*.h ${PROJECT_SOURCE_DIR}/cad/*.cpp
    ${PROJECT_SOURCE_DIR}/nodes/*.h ${PROJECT_SOURCE_DIR}/nodes/*.cpp
    ${PROJECT_SOURCE_DIR}/ui/*.h ${PROJECT_SOURCE_DIR}/ui/*.cpp
    ${PROJECT_SOURCE_DIR}/app/*.h ${PROJECT_SOURCE_DIR}/app/*.cpp
    ${PROJECT_SOURCE_DIR}/windows/*.h ${PROJECT_SOURCE_DIR}/windows/*.cpp
    ${PROJECT_SOURCE_DIR}/win32/*.h ${PROJECT_SOURCE_DIR}/win32/*.cpp)
set(_tendra_layer_stamp ${CMAKE_BINARY_DIR}/layers.checked)
add_custom_command(OUTPUT ${_tendra_layer_stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR}
            -P ${PROJECT_SOURCE_DIR}/cmake/check-layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${_tendra_layer_stamp}
    DEPENDS ${_tendra_layer_files} ${PROJECT_SOURCE_DIR}/cmake/check-layers.cmake
    COMMENT "Checking the core's layers"
    VERBATIM)
add_custom_target(tendra_layers ALL DEPENDS ${_tendra_layer_stamp})
add_dependencies(tendra_cad tendra_layers)
add_dependencies(tendra_ui tendra_layers)
