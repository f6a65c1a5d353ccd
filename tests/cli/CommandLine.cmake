# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

# The command line, run as `cmake -DPROGRAM=path/to/sipster -P CommandLine.cmake`: the options
# that end the program before any window opens, an unknown option, and a machine with no display
# or a window system that will not start. Given -DXVFB=path/to/Xvfb -DXAUTH=path/to/xauth, also a
# display that is running but refuses the program.

set(passed 0)
set(failed 0)

# Runs the program with no display and the given arguments, after what `run_with` holds (settings
# for env(1), or a command that runs the program); checks its status, that the given stream
# matches the pattern, and that stderr does not match `unwanted` where that is set.
function(expect what status stream pattern)
    execute_process(
        # env(1) runs the program in its place, so an abort reaches us as one ("cmake -E env"
        # would report it as status 1).
        COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE
                ${run_with} ${PROGRAM} ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
    set(text "${${stream}}")
    if(NOT "${result}" STREQUAL "${status}" OR NOT text MATCHES "${pattern}"
       OR (unwanted AND err MATCHES "${unwanted}"))
        message("FAILED: ${what}: status ${result} (expected ${status})\n"
                "stdout: ${out}\nstderr: ${err}")
        math(EXPR failed "${failed} + 1")
    else()
        math(EXPR passed "${passed} + 1")
    endif()
    set(failed ${failed} PARENT_SCOPE)
    set(passed ${passed} PARENT_SCOPE)
endfunction()

expect("--version" 0 out "^Sipster 1\\.0\\.0\n$" --version)
expect("-v" 0 out "^Sipster 1\\.0\\.0\n$" -v)
expect("--help" 0 out "Usage: .*--help.*--version" --help)
expect("--help-all lists Qt's options" 0 out "--help-all.*--platform .*--reverse" --help-all)
# Qt's own options stand beside them, a platform named among them too.
expect("--version after -platform" 0 out "^Sipster 1\\.0\\.0\n$" -platform xcb --version)
expect("--version before -reverse" 0 out "^Sipster 1\\.0\\.0\n$" --version -reverse)
expect("--help with -style and --platform" 0 out "Usage: " -style fusion --help --platform wayland)
expect("--help-all after -platform" 0 out "--platform " -platform wayland --help-all)
expect("--version and an unknown option" 1 err "Unknown option 'frobnicate'\\." --version --frobnicate)
expect("--version beside X11's -display" 0 out "^Sipster 1\\.0\\.0\n$" -display :99 --version)
# Where --version is no option, the program goes on without it: here, to find no display.
set(no_display "^sipster: cannot open a display: DISPLAY \\(X11\\) or WAYLAND_DISPLAY \\(Wayland\\)[^\n]*\n$")
expect("--version after --" 1 err "${no_display}" -- --version)
expect("--version as the value of -style" 1 err "${no_display}" -style --version)
# So it is after any option Qt lists as taking a value (the X11 platform's too), and the program
# builds no application to answer it first, since Qt does not promise that a second one works:
# glibc's dynamic loader reports none loading the minimal platform.
execute_process(
    COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_SESSION_TYPE=x11
            ${PROGRAM} --help-all
    OUTPUT_VARIABLE listing ERROR_QUIET TIMEOUT 30)
string(REGEX MATCHALL "\n  --[a-z]+ <" taking_values "${listing}")
if(NOT taking_values MATCHES "--platform <.*--display <")
    message("FAILED: --help-all lists no options that take a value, or not X11's:\n${listing}")
    math(EXPR failed "${failed} + 1")
endif()
list(TRANSFORM taking_values REPLACE "\n  --([a-z]+) <" "-\\1")
set(run_with LD_DEBUG=files)
set(unwanted "/libqminimal")
foreach(option IN LISTS taking_values ITEMS -style --)
    expect("no application built to answer --version after ${option}" 1 out "^$"
           ${option} --version)
endforeach()
unset(run_with)
unset(unwanted)
expect("no display" 1 err "${no_display}")
expect("unknown option, with Qt's own -platform" 1 err "Unknown option 'frobnicate'\\.\n$"
       -platform offscreen --frobnicate)
expect("a display named but not running" 1 err "^sipster: cannot open a display[^\n]*\n$"
       -display :99)
# A display that is running but turns the program away: Xvfb asks for a key the program is not
# given. The X library prints the server's reason; the program says the display is there.
if(XVFB AND XAUTH)
    set(run_with sh -c [=[
keys=$(mktemp) && number=$(mktemp) || exit 99
"$0" -q -f "$keys" add :0 . 0123456789abcdef0123456789abcdef || exit 99
"$1" -displayfd 3 -auth "$keys" -nolisten tcp 3>"$number" 2>/dev/null &
server=$!
shift
tries=0
# No semicolons: CMake would split the script at them.
while [ ! -s "$number" ] && [ $tries -lt 100 ]
do
    sleep 0.1
    tries=$((tries + 1))
done
DISPLAY=:$(cat "$number") env -u XAUTHORITY "$@"
status=$?
kill $server
wait $server
rm -f "$keys" "$number"
exit $status
]=] ${XAUTH} ${XVFB})
    expect("a display running that refuses the connection" 1 err
           "(^|\n)sipster: the display :[0-9]+ is running but refused the connection \\(not authorised\\? check XAUTHORITY\\); Qt said: could not connect to display :[0-9]+\n$")
    unset(run_with)
else()
    message("left out: a display that refuses the connection (Xvfb or xauth not found)")
endif()
# Any other failure to start says what Qt said of its cause, and leaves no core file.
expect("a platform that will not load" 1 err
       "Could not find the Qt platform plugin \"nosuch\".*no Qt platform plugin could be initialized"
       -platform nosuch)

message("command line: ${passed} passed, ${failed} failed")
if(failed)
    message(FATAL_ERROR "command line checks failed")
endif()
