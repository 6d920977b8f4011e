# The COM backend only builds for Windows. On Linux the same source tree is
# cross-built with mingw-w64, core and COM backend with their tests, as a
# project of its own under build/wine, and this project's CTest runs those
# tests under Wine, each as a test of its own labelled "wine".
#
# This file serves twice: included from CMakeLists.txt it sets up the cross
# build; included by CTest through the generated wine-tests.cmake, which sets
# TENDRA_WINE_LISTING, it lists the cross-built tests and adds them.

if(TENDRA_WINE_LISTING)
    # --- CTest: one test per GoogleTest case of every cross-built test program.
    file(GLOB_RECURSE executables "${TENDRA_WINE_BUILD}/tests/*_tests.exe")
    if(NOT executables)
        add_test(wine.NOT_BUILT wine.NOT_BUILT)
        set_tests_properties(wine.NOT_BUILT PROPERTIES LABELS wine TIMEOUT 10)
        return()
    endif()
    set(runner "${TENDRA_WINE_RUNNER}" "${TENDRA_WINE_BUILD}/wineprefix")
    foreach(executable IN LISTS executables)
        get_filename_component(program "${executable}" NAME_WE)
        # Listing runs Wine, so it is done again only when the program or this
        # file changed.
        set(listing "${executable}.tests")
        if(NOT EXISTS "${listing}" OR "${executable}" IS_NEWER_THAN "${listing}"
           OR "${CMAKE_CURRENT_LIST_FILE}" IS_NEWER_THAN "${listing}")
            execute_process(COMMAND ${runner} "${executable}" --gtest_list_tests
                OUTPUT_VARIABLE output RESULT_VARIABLE result TIMEOUT 300)
            if(NOT result EQUAL 0)
                add_test(wine.${program}.listing ${runner} "${executable}" --gtest_list_tests)
                set_tests_properties(wine.${program}.listing PROPERTIES LABELS wine TIMEOUT 300)
                continue()
            endif()
            # "Suite." lines, then "  Case" lines; "  # GetParam() = ..." notes follow.
            set(names "")
            string(REPLACE "\n" ";" lines "${output}")
            foreach(line IN LISTS lines)
                string(REGEX REPLACE " *#.*$" "" line "${line}")
                if(line MATCHES "^  +([^ ]+)$")
                    set(name "${suite}${CMAKE_MATCH_1}")
                    if(NOT name MATCHES "(^|[./])DISABLED_")
                        list(APPEND names "${name}")
                    endif()
                elseif(line MATCHES "^([^ ]+\\.)$")
                    set(suite "${CMAKE_MATCH_1}")
                endif()
            endforeach()
            file(WRITE "${listing}" "${names}")
        endif()
        file(READ "${listing}" names)
        foreach(name IN LISTS names)
            # The end-to-end tests register "AutoCAD.Application" for the whole
            # prefix and end stray stand-ins and Tendras: one at a time. They,
            # the windows' tests and the window activation tests also take
            # the prefix's one foreground window: one of them at a time.
            set(locks "")
            if(program MATCHES "e2e")
                list(APPEND locks tendra_autocad_registration)
            endif()
            if(program MATCHES "e2e|win32" OR name MATCHES "^ActivationTest\\.")
                list(APPEND locks tendra_wine_foreground)
            endif()
            set(lock "")
            if(locks)
                set(lock RESOURCE_LOCK "${locks}")
            endif()
            # A filter that selects nothing passes too; the count proves it ran.
            add_test(wine.${name} ${runner} "${executable}" "--gtest_filter=${name}")
            set_tests_properties(wine.${name} PROPERTIES
                LABELS wine TIMEOUT 120 WORKING_DIRECTORY "${TENDRA_WINE_BUILD}"
                PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
                SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]"
                ${lock})
        endforeach()
    endforeach()
    return()
endif()

# --- CMake: the cross build.
find_program(TENDRA_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(TENDRA_WINE wine)
if(NOT TENDRA_MINGW_CXX OR NOT TENDRA_WINE)
    set(missing "")
    if(NOT TENDRA_MINGW_CXX)
        list(APPEND missing "mingw-w64 (x86_64-w64-mingw32-g++-posix)")
    endif()
    if(NOT TENDRA_WINE)
        list(APPEND missing "Wine (wine)")
    endif()
    list(JOIN missing " and " missing)
    message(STATUS "${missing} not found: the COM backend is not cross-built")
    string(REGEX REPLACE " \\([^)]*\\)" "" short "${missing}")
    string(REPLACE " and " "_" short "${short}")
    foreach(suite IN ITEMS com win32 win32e2e)
        tendra_add_not_run_test(wine.${suite}.NOT_RUN_without_${short} "${missing}" wine)
    endforeach()
    return()
endif()

include(ExternalProject)
set(TENDRA_WINE_BUILD ${CMAKE_BINARY_DIR}/wine)
ExternalProject_Add(tendra_wine
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${TENDRA_WINE_BUILD}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64.cmake
        -DCMAKE_BUILD_TYPE=Release
        # -O3 brings GCC 12's false -Wrestrict alarms in std::string; -O2 is clean.
        "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
        -DTENDRA_CORE_ONLY=ON
        -DTENDRA_WITH_COM=ON
        -DTENDRA_FUZZ=OFF
        -DTENDRA_WINE_TESTS=OFF
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    TEST_COMMAND "")

file(WRITE ${CMAKE_BINARY_DIR}/wine-tests.cmake
    "set(TENDRA_WINE_LISTING ON)\n"
    "set(TENDRA_WINE_BUILD \"${TENDRA_WINE_BUILD}\")\n"
    "set(TENDRA_WINE_RUNNER \"${CMAKE_SOURCE_DIR}/scripts/wine-run\")\n"
    "include(\"${CMAKE_CURRENT_LIST_FILE}\")\n")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY
    TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/wine-tests.cmake)
