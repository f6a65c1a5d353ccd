# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

# Installed documentation and the Debian package: `cpack -G DEB` in the build folder makes
# sipster_<version>_<arch>.deb and its sipster-dbgsym package (scripts/check-package builds,
# checks and installs them).

if(UNIX AND NOT APPLE)
    # Debian wants the manual page and the changelog compressed, without a timestamp.
    find_program(GZIP_PROGRAM gzip)
    set(sipster_manual ${PROJECT_SOURCE_DIR}/docs/sipster.1)
    set(sipster_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
    if(GZIP_PROGRAM)
        foreach(file IN ITEMS sipster_manual sipster_changelog)
            get_filename_component(name ${${file}} NAME)
            add_custom_command(OUTPUT ${name}.gz
                COMMAND ${GZIP_PROGRAM} -9n -c ${${file}} > ${name}.gz
                DEPENDS ${${file}}
                COMMENT "Compressing ${name}"
            )
            set(${file} ${PROJECT_BINARY_DIR}/${name}.gz)
        endforeach()
        add_custom_target(compressed_docs ALL DEPENDS ${sipster_manual} ${sipster_changelog})
    endif()
    install(FILES ${sipster_manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${sipster_changelog} packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sipster
    )
endif()

set(CPACK_PACKAGE_NAME sipster)
set(CPACK_PACKAGE_VENDOR "The Sipster team")
set(CPACK_PACKAGE_CONTACT "The Sipster team <team@sipster.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The summary above is the synopsis; this is the extended description beneath it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sipster runs a taste test between two drinks, Prune Punch and Apple Ade.
Tester after tester types a score from 1 to 10 for each drink; Sipster checks
the scores, keeps running totals and, on request, shows the number of testers,
both average ratings to two decimals and the winner, or a tie.
.
Everything stays in memory: nothing is read or written, and every run starts
afresh. It works with the mouse, the keyboard alone, or a screen reader.")
# The shared-library scan finds Qt's libraries; what Qt loads at run time (the Wayland platform)
# and the fonts are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# Debug symbols go to a separate sipster-dbgsym package rather than away.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/MendDbgsym.cmake)
include(CPack)
