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
install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/org.tarvik.Tarvik.desktop
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

# The package's copyright notice (machine-readable, DEP-5), the Debian
# changelog (made at build time by cmake/Version.cmake, which adds an entry for
# a build between releases) and the lintian overrides, where Debian keeps them.
set(TARVIK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tarvik)
install(FILES ${CMAKE_SOURCE_DIR}/assets/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${TARVIK_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/assets/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tarvik)

# Every version has its changelog entry: the top one names the project version.
file(STRINGS ${CMAKE_SOURCE_DIR}/assets/debian/changelog changelog_heads REGEX "^tarvik \\(")
list(GET changelog_heads 0 top)
if(NOT top MATCHES "^tarvik \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "assets/debian/changelog: the top entry is not version ${PROJECT_VERSION} (${top}); "
                      "add an entry for the new version")
endif()

# Manual pages, made from --help and --version by help2man, with the sections
# written by hand in assets/man/<program>.h2m; compressed as Debian wants them.
find_program(TARVIK_HELP2MAN help2man REQUIRED)
set(TARVIK_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(man_pages "")
foreach(program tarvik tarvik-solve)
  add_custom_command(
    OUTPUT ${TARVIK_MAN_DIR}/${program}.1 ${TARVIK_MAN_DIR}/${program}.1.gz
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${TARVIK_HELP2MAN} -DGZIP=${TARVIK_GZIP} -DPROGRAM=$<TARGET_FILE:${program}>
            -DINCLUDE=${CMAKE_SOURCE_DIR}/assets/man/${program}.h2m
            -DEPOCH_FILE=${CMAKE_BINARY_DIR}/generated/source-date-epoch -DOUT=${TARVIK_MAN_DIR}/${program}.1
            -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS ${program} ${CMAKE_SOURCE_DIR}/assets/man/${program}.h2m ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
            ${CMAKE_BINARY_DIR}/generated/source-date-epoch
    COMMENT "Writing the manual page ${program}(1)")
  list(APPEND man_pages ${TARVIK_MAN_DIR}/${program}.1.gz)
endforeach()
add_custom_target(tarvik_manpages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Bash completion of tarvik-solve, made from its table of options.
set(TARVIK_COMPLETION ${CMAKE_BINARY_DIR}/completion/tarvik-solve)
find_program(TARVIK_BASH bash REQUIRED)
add_custom_command(
  OUTPUT ${TARVIK_COMPLETION}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/completion
  COMMAND tarvik-mkcompletion ${CMAKE_SOURCE_DIR}/assets/completion/tarvik-solve.bash.in ${TARVIK_COMPLETION}
  COMMAND ${TARVIK_BASH} -n ${TARVIK_COMPLETION}
  DEPENDS tarvik-mkcompletion ${CMAKE_SOURCE_DIR}/assets/completion/tarvik-solve.bash.in
  COMMENT "Writing the bash completion of tarvik-solve")
add_custom_target(tarvik_completion ALL DEPENDS ${TARVIK_COMPLETION})
install(FILES ${TARVIK_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# AppStream metadata. Its screenshots are pictures `make screenshots` renders
# (build/screenshots/NAME.png); AppStream wants them as web addresses, so a
# release publishes those files under TARVIK_SCREENSHOT_URL. The releases come
# from the changelog. The build validates the file (appstreamcli, no network).
set(TARVIK_SCREENSHOT_URL "https://tarvik.example.org/screenshots/${PROJECT_VERSION}"
    CACHE STRING "Web address under which the screenshots of the AppStream metadata are published")
set(TARVIK_METAINFO_SCREENSHOTS
    "shell-main-window|The main window with the module buttons"
    "lp-output-textbook|A linear programming model solved, with its sensitivity report"
    "tsp-map-both-tours|A heuristic tour and the optimal tour of a travelling salesman problem"
    "simulation-graph|A queue simulation with its graph"
    "markov-results-steady-state|The steady state of a Markov chain")
set(TARVIK_SCREENSHOTS "")
set(kind default)
foreach(shot IN LISTS TARVIK_METAINFO_SCREENSHOTS)
  string(REPLACE "|" ";" shot "${shot}")
  list(GET shot 0 name)
  list(GET shot 1 caption)
  string(APPEND TARVIK_SCREENSHOTS "    <screenshot type=\"${kind}\">\n"
         "      <caption>${caption}</caption>\n"
         "      <image>${TARVIK_SCREENSHOT_URL}/${name}.png</image>\n    </screenshot>\n")
  set(kind extra)
endforeach()
string(STRIP "${TARVIK_SCREENSHOTS}" TARVIK_SCREENSHOTS)
string(PREPEND TARVIK_SCREENSHOTS "    ")
set(TARVIK_RELEASES "")
file(STRINGS ${CMAKE_SOURCE_DIR}/assets/debian/changelog changelog_lines REGEX "^(tarvik \\(| -- )")
set(release "")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^tarvik \\(([^)]+)\\)")
    set(release ${CMAKE_MATCH_1})
  elseif(line MATCHES ", ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) " AND release)
    set(day ${CMAKE_MATCH_1})
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
    string(LENGTH "${day}" n)
    if(n EQUAL 1)
      set(day 0${day})
    endif()
    if(month LESS 10)
      set(month 0${month})
    endif()
    string(APPEND TARVIK_RELEASES "    <release version=\"${release}\" date=\"${CMAKE_MATCH_3}-${month}-${day}\"/>\n")
    set(release "")
  endif()
endforeach()
string(STRIP "${TARVIK_RELEASES}" TARVIK_RELEASES)
string(PREPEND TARVIK_RELEASES "    ")
set(TARVIK_METAINFO ${CMAKE_BINARY_DIR}/metainfo/org.tarvik.Tarvik.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/assets/desktop/org.tarvik.Tarvik.metainfo.xml.in ${TARVIK_METAINFO} @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/debian/changelog)
find_program(TARVIK_APPSTREAMCLI appstreamcli REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/metainfo/validated
  COMMAND ${TARVIK_APPSTREAMCLI} validate --no-net ${TARVIK_METAINFO}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/metainfo/validated
  DEPENDS ${TARVIK_METAINFO}
  COMMENT "Validating the AppStream metadata")
add_custom_target(tarvik_metainfo ALL DEPENDS ${CMAKE_BINARY_DIR}/metainfo/validated)
install(FILES ${TARVIK_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The version of the build (with `git describe` between releases) is known only
# once the programs are built: cpack reads it from the file Version.cmake wrote.
configure_file(${CMAKE_SOURCE_DIR}/cmake/CPackVersion.cmake.in ${CMAKE_BINARY_DIR}/CPackVersion.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackVersion.cmake)
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
# The maintainer: -DTARVIK_PACKAGE_MAINTAINER="Name <address>" (src/common/CMakeLists.txt),
# who also signs the changelog entries.
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
