# Fails when a file includes a layer above its own, or a toolkit where none
# may be used. Run by the build (cmake -P) whenever a core file changes, and
# by CTest against a tree that breaks each rule.
#
#   cmake -DROOT=<source tree> -P check-layers.cmake
#
# Each rule: the files it covers (globs under ROOT), then the include
# patterns (regular expressions on what stands inside the quotes or angle
# brackets) those files may not use.

set(toolkits "^Q[A-Za-z]*(/|$)|^q[a-z]+\\.h$|^windows\\.h$|^(ole2|oleauto|objbase|unknwn)\\.h$|^dl_")
set(rules
    "cad/*.h|cad/*.cpp" "^nodes/|^app/|^windows/|^ui/|^cad/board/|^cad/com/|^win32/|${toolkits}"
    "nodes/*.h|nodes/*.cpp" "^app/|^windows/|^ui/|^cad/board/|^cad/com/|^win32/|${toolkits}"
    "ui/*.h|ui/*.cpp|app/*.h|app/*.cpp|windows/*.h|windows/*.cpp"
        "(^|/)qt/|(^|/)win32/|^cad/board/|^cad/com/|${toolkits}"
    # The windows take nothing from the AutoCAD backend; only the Windows
    # program's start-up (app/win32/) hands it to them.
    "ui/*/*.h|ui/*/*.cpp|windows/*/*.h|windows/*/*.cpp|windows/*/*/*.cpp|app/qt/*.h|app/qt/*.cpp"
        "^cad/com/"
    # Text as Windows takes it, below the COM backend and the windows alike.
    "win32/*.h|win32/*.cpp" "^cad/|^nodes/|^app/|^windows/|^ui/|^Q[A-Za-z]*(/|$)|^q[a-z]+\\.h$")

if(NOT ROOT)
    message(FATAL_ERROR "check-layers: ROOT not set")
endif()
set(broken "")
list(LENGTH rules length)
math(EXPR last "${length} - 1")
foreach(index RANGE 0 ${last} 2)
    math(EXPR next "${index} + 1")
    list(GET rules ${index} globs)
    list(GET rules ${next} forbidden)
    string(REPLACE "|" ";" globs "${globs}")
    set(files "")
    foreach(glob IN LISTS globs)
        file(GLOB matched "${ROOT}/${glob}")
        list(APPEND files ${matched})
    endforeach()
    foreach(file IN LISTS files)
        file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS lines)
            if(line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
                set(included "${CMAKE_MATCH_1}")
                if(included MATCHES "${forbidden}")
                    file(RELATIVE_PATH name "${ROOT}" "${file}")
                    list(APPEND broken "${name} includes ${included}")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()
if(broken)
    list(JOIN broken "\n  " lines)
    message(FATAL_ERROR "Layer rule broken (cad/ is below nodes/; they and the windows' designs use no toolkit; the windows use nothing of cad/com/):\n  ${lines}")
endif()
