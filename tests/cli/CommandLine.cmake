# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

# The command line, run as `cmake -DPROGRAM=path/to/sipster -P CommandLine.cmake`: the options
# that end the program before any window opens, an unknown option, and a machine with no display.

set(passed 0)
set(failed 0)

# Runs the program with no display and the given arguments; checks its status and that the given
# stream matches the pattern.
function(expect what status stream pattern)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                --unset=QT_QPA_PLATFORM --unset=XDG_SESSION_TYPE ${PROGRAM} ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
    set(text "${${stream}}")
    if(NOT "${result}" STREQUAL "${status}" OR NOT text MATCHES "${pattern}")
        message("FAILED: ${what}: status ${result} (expected ${status})\n"
                "stdout: ${out}\nstderr: ${err}")
        math(EXPR failed "${failed} + 1")
    else()
        math(EXPR passed "${passed} + 1")
    endif()
    set(failed ${failed} PARENT_SCOPE)
    set(passed ${passed} PARENT_SCOPE)
endfunction()

set(one_line "^[^\n]+\n$")
expect("--version" 0 out "^Sipster 1\\.0\\.0\n$" --version)
expect("-v" 0 out "^Sipster 1\\.0\\.0\n$" -v)
expect("--help" 0 out "Usage: .*--help.*--version" --help)
expect("--help-all lists Qt's options" 0 out "--help-all.*--platform .*--reverse" --help-all)
expect("no display" 1 err
       "^sipster: cannot open a display: DISPLAY \\(X11\\) or WAYLAND_DISPLAY \\(Wayland\\)[^\n]*\n$")
expect("unknown option, with Qt's own -platform" 1 err "Unknown option 'frobnicate'\\.\n$"
       -platform offscreen --frobnicate)
expect("a display named but not running" 1 err "^sipster: cannot open a display[^\n]*\n$"
       -display :99)

message("command line: ${passed} passed, ${failed} failed")
if(failed)
    message(FATAL_ERROR "command line checks failed")
endif()
