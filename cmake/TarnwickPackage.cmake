# The Debian package: `cmake --build --preset default --target package` makes
# tarnwick_<version>-<revision>_<arch>.deb, plus a -dbgsym package that holds the debug data
# split off the stripped binaries.
set(TARNWICK_PACKAGE_MAINTAINER "The Tarnwick developers <tarnwick@example.org>"
    CACHE STRING "Maintainer named in the Debian package (name <address>)")
set(TARNWICK_PACKAGE_REVISION 1)
set(TARNWICK_PACKAGE_VERSION ${PROJECT_VERSION}-${TARNWICK_PACKAGE_REVISION})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TARNWICK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watchdog that keeps a modem Internet link alive")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TARNWICK_PACKAGE_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TARNWICK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS network-manager)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# CPack strips the binaries itself and moves their debug data into the -dbgsym package.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripComments.cmake)
# The synopsis is the summary above; CPack indents this as the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tarnwick watches the one Internet link of a machine that nobody attends.
At a fixed interval it checks the link: whether the chosen NetworkManager
connection is up, whether a chosen file is still being rewritten, and
whether a TCP connection to a chosen host can be opened.

After a failed check it hangs the connection up and dials it again. After
a set number of failed checks in a row it cuts and restores the modem's
power through a relay on the parallel port. If the checks keep failing, it
reboots the machine through systemd-logind: by design, and without asking.

It can also start at log-on, switch the modem on when it starts, dial the
connection after start and shut the machine down every day at a set time.
It lives in the desktop's notification area, with a menu and a settings
dialog, and keeps watching without a display too.")

include(CPack)
