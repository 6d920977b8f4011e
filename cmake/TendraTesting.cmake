# GoogleTest: Debian's package on Linux; built from its sources when
# cross-compiling, where no prebuilt library fits.
include(GoogleTest)
if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Newer GoogleTest sources define these names themselves.
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
        add_library(GTest::gmock ALIAS gmock)
    endif()
else()
    find_package(GTest REQUIRED)
endif()

# Qt tests run on the offscreen platform, so they need no display.
function(tendra_add_qt_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1"
        TIMEOUT 120)
endfunction()

# Stands in for a suite this machine cannot build or run: CTest reports it as
# not run, naming what is missing, so that a run without the suite does not
# look complete.
function(tendra_add_not_run_test name missing)
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} "-DMISSING=${missing}" -P ${PROJECT_SOURCE_DIR}/cmake/not-run.cmake)
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 1 LABELS "${ARGN}")
endfunction()
