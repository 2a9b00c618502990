# Installing and packaging.
#
# The program looks for its help file next to the program file, so both
# programs and the help file go into one folder (lib/tarvik); the commands in
# bin are relative symbolic links to them (the program resolves the link and
# still finds its help file). A desktop entry and an icon make it show up in
# the desktop's application menu.

include(GNUInstallDirs)

set(TARVIK_PROGRAM_DIR lib/tarvik)

install(TARGETS tarvik tarvik-solve RUNTIME DESTINATION ${TARVIK_PROGRAM_DIR})
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Tarvik2000.hlp DESTINATION ${TARVIK_PROGRAM_DIR})
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Operations research and probability for students and teachers")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvik is a desktop suite that teaches operations research and probability: linear and integer\
 programming, queueing models and queue simulation, Markov chains, the travelling salesman, shortest paths,\
 Monte Carlo experiments, roulette, the normal distribution, coin tossing and dice, and statistical tables.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarvik developers <tarvik@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Libraries loaded at run time that the linker cannot see: the windowing
# plugins and the fonts the reports are set in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_STRIP_FILES ON)
include(CPack)
