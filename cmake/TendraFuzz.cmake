# The libFuzzer targets need clang, while the rest may build with g++: they
# build as a project of their own under build/fuzz, and CTest runs each one on
# its seed corpus for a few seconds.
find_program(TENDRA_CLANGXX NAMES clang++ clang++-14)
if(NOT TENDRA_CLANGXX)
    message(STATUS "clang++ not found: the fuzz targets are not built")
    tendra_add_not_run_test(fuzz.NOT_RUN_without_clang "clang++" fuzz)
    return()
endif()

include(ExternalProject)
ExternalProject_Add(tendra_fuzz
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${TENDRA_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

file(GLOB TENDRA_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzzer.cpp)
foreach(source IN LISTS TENDRA_FUZZERS)
    get_filename_component(name ${source} NAME_WE)
    add_test(NAME fuzz_${name}
        COMMAND ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer ${CMAKE_BINARY_DIR}/fuzz/${name}
                ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name} ${CMAKE_BINARY_DIR}/fuzz-work/${name} 10)
    set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT 180)
endforeach()
