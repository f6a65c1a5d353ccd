# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

# The hardening Debian builds its own packages with: stack protector, stack-clash and
# control-flow protection, fortified C library calls, read-only relocations and immediate binding.
# Each flag is used only where this compiler and linker accept it, and only in optimised builds:
# fortified calls need the optimiser, and debug and sanitizer builds want none of it.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)

option(SIPSTER_HARDENING "Build optimised configurations with hardening flags" ON)
if(NOT SIPSTER_HARDENING)
    return()
endif()

set(optimised "$<NOT:$<CONFIG:Debug>>")
set(compile_flags -fstack-protector-strong -fstack-clash-protection -fcf-protection)
if(WIN32)
    # GCC 12 for Windows accepts stack-clash protection but crashes on real code with it (SEH).
    list(REMOVE_ITEM compile_flags -fstack-clash-protection)
endif()
foreach(flag IN LISTS compile_flags)
    string(MAKE_C_IDENTIFIER "SIPSTER_CXX${flag}" accepted)
    check_cxx_compiler_flag(${flag} ${accepted})
    if(${accepted})
        add_compile_options("$<${optimised}:${flag}>")
    endif()
endforeach()
if(SIPSTER_CXX_fstack_protector_strong)
    # MinGW's stack protector and fortified calls live in a library of their own, which the
    # flag brings in when linking.
    add_link_options("$<${optimised}:-fstack-protector-strong>")
endif()
# Fortified calls at level 2, unless an optimised compile already asks for a level: the
# distribution's flags (Ubuntu and Fedora ask for 3) or the compiler itself. That level is kept.
include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_FLAGS -O2)
check_cxx_source_compiles("#ifndef _FORTIFY_SOURCE\n#error none\n#endif\nint main() { }"
    SIPSTER_FORTIFY_ALREADY_SET)
unset(CMAKE_REQUIRED_FLAGS)
if(NOT SIPSTER_FORTIFY_ALREADY_SET)
    add_compile_options("$<${optimised}:-D_FORTIFY_SOURCE=2>")
endif()
foreach(flag IN ITEMS -Wl,-z,relro -Wl,-z,now)
    string(MAKE_C_IDENTIFIER "SIPSTER_LD${flag}" accepted)
    check_linker_flag(CXX ${flag} ${accepted})
    if(${accepted})
        add_link_options("$<${optimised}:${flag}>")
    endif()
endforeach()
