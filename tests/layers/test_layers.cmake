# The layer check against small trees that each hold one include: it must
# pass the allowed ones and fail every other.
#
#   cmake -DCHECK=<check-layers.cmake> -DWORK=<scratch folder> -P test_layers.cmake

# file | its include line | expected: PASS or FAIL
set(cases
    "nodes/table.cpp|#include \"cad/surface.h\"|PASS"
    "cad/origin.cpp|#include \"cad/command.h\"|PASS"
    "cad/origin.cpp|#include <vector>|PASS"
    "cad/origin.cpp|#include \"nodes/commands.h\"|FAIL"
    "cad/origin.h|  #  include \"nodes/form_port.h\"|FAIL"
    "cad/connection.cpp|#include \"app/form1.h\"|FAIL"
    "cad/names.cpp|#include \"cad/board/board_platform.h\"|FAIL"
    "nodes/table.cpp|#include <QString>|FAIL"
    "nodes/table.cpp|#include <QtCore/QString>|FAIL"
    "nodes/commands.cpp|#include <windows.h>|FAIL"
    "nodes/commands.cpp|#include \"cad/com/dispatch.h\"|FAIL"
    "nodes/commands.cpp|#include \"ui/twips.h\"|FAIL"
    "app/form1_design.cpp|#include \"ui/design.h\"|PASS"
    "app/form1_design.cpp|#include \"app/qt/form1.h\"|FAIL"
    "windows/docking.cpp|#include <QWidget>|FAIL"
    "ui/twips.cpp|#include \"ui/win32/dpi.h\"|FAIL"
    "ui/twips.cpp|#include \"win32/text.h\"|FAIL"
    "cad/names.cpp|#include \"win32/text.h\"|FAIL"
    "cad/com/dispatch.cpp|#include \"win32/text.h\"|PASS"
    "ui/win32/designed_window.cpp|#include \"win32/text.h\"|PASS"
    "ui/win32/designed_window.cpp|#include \"cad/com/utf.h\"|FAIL"
    "windows/win32/promotion.cpp|#include \"cad/com/dispatch.h\"|FAIL"
    "windows/qt/webview/web_view_module.cpp|#include \"cad/com/com_error.h\"|FAIL"
    "app/qt/form1.cpp|#include \"cad/com/com_platform.h\"|FAIL"
    "app/win32/main.cpp|#include \"cad/com/com_platform.h\"|PASS"
    "win32/text.cpp|#include <windows.h>|PASS"
    "win32/text.cpp|#include \"cad/com/dispatch.h\"|FAIL"
    "win32/text.h|#include \"ui/design.h\"|FAIL")

set(failures 0)
set(number 0)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 file)
    list(GET fields 1 line)
    list(GET fields 2 expected)
    math(EXPR number "${number} + 1")
    set(root "${WORK}/case${number}")
    file(REMOVE_RECURSE "${root}")
    file(WRITE "${root}/${file}" "// case\n${line}\n")
    execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} -P ${CHECK}
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(result EQUAL 0)
        set(got PASS)
    else()
        set(got FAIL)
    endif()
    if(NOT got STREQUAL expected)
        message(SEND_ERROR "${file} with '${line}': expected ${expected}, got ${got}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
math(EXPR passed "${number} - ${failures}")
message("layers: ${passed} passed, ${failures} failed")
