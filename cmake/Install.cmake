# Installing and packaging.
#
# The program looks for its help file next to the program file, so both
# programs and the help file go into one folder (lib/tarvik); the commands in
# bin are relative symbolic links to them (the program resolves the link and
# still finds its help file). The welcome photograph is compiled into the
# program. A desktop entry and an icon make it show up in the desktop's
# application menu. The example files go to share/tarvik/examples, where the
# program looks for them from lib/tarvik.

include(GNUInstallDirs)

set(TARVIK_PROGRAM_DIR lib/tarvik)

install(TARGETS tarvik tarvik-solve RUNTIME DESTINATION ${TARVIK_PROGRAM_DIR})
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Tarvik2000.hlp DESTINATION ${TARVIK_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvik/examples)
install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/tarvik.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/tarvik.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(program tarvik tarvik-solve)
  install(CODE "
    set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bindir}\")
    file(CREATE_LINK \"../${TARVIK_PROGRAM_DIR}/${program}\" \"\${bindir}/${program}\" SYMBOLIC)
    message(STATUS \"Installing: \${bindir}/${program} -> ../${TARVIK_PROGRAM_DIR}/${program}\")
  ")
endforeach()

# The package's copyright notice and (native package) changelog, both where
# Debian keeps them.
set(TARVIK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tarvik)
string(TIMESTAMP TARVIK_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(TARVIK_PACKAGE_MAINTAINER "Tarvik developers <tarvik@example.org>"
    CACHE STRING "Maintainer field of the Debian package: name <address>")
configure_file(${CMAKE_SOURCE_DIR}/assets/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
find_program(TARVIK_GZIP gzip REQUIRED)
execute_process(COMMAND ${TARVIK_GZIP} -9nf ${CMAKE_BINARY_DIR}/debian/changelog COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/debian/changelog.in)
install(FILES ${CMAKE_SOURCE_DIR}/assets/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${TARVIK_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Operations research and probability for students and teachers")
# One line of the long description per line of the control file (at most 80
# characters each).
set(CPACK_PACKAGE_DESCRIPTION [=[
Tarvik is a desktop suite that teaches operations research and probability:
linear and integer programming, queueing models and queue simulation, Markov
chains, the travelling salesman, shortest paths, Monte Carlo experiments,
roulette, the normal distribution, coin tossing and dice, and statistical
tables. The command tarvik-solve computes the same reports from the command
line.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARVIK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The Qt, JPEG, GMP and C++ libraries the programs link come from
# dpkg-shlibdeps: for GMP libgmp10 (the C++ interface, libgmpxx4ldbl, is
# inline where the exact fractions use it, so the linker keeps only libgmp).
# The windowing (xcb, offscreen), SVG and printing plugins ship in those same
# Qt library packages on Debian 12. What the linker cannot see: the fonts that
# stand in for the window and report fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_STRIP_FILES ON)
include(CPack)
