# Installs the build into PREFIX, checks where every file lands, and solves a
# model with the installed tarvik-solve through its link in bin.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed (${rc}): ${err}")
endif()

foreach(f lib/tarvik/tarvik lib/tarvik/tarvik-solve lib/tarvik/Tarvik2000.hlp bin/tarvik bin/tarvik-solve
          share/applications/org.tarvik.Tarvik.desktop share/icons/hicolor/scalable/apps/tarvik.svg
          share/doc/tarvik/copyright share/doc/tarvik/changelog.gz share/man/man1/tarvik.1.gz
          share/man/man1/tarvik-solve.1.gz share/bash-completion/completions/tarvik-solve
          share/metainfo/org.tarvik.Tarvik.metainfo.xml share/tarvik/examples/README.md
          share/tarvik/examples/tsp/capitals48.txt share/tarvik/examples/shortestpath/trap.txt)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "missing after install: ${f}")
  endif()
endforeach()
foreach(f bin/tarvik bin/tarvik-solve)
  if(NOT IS_SYMLINK "${PREFIX}/${f}")
    message(FATAL_ERROR "${f} is not a link to the program folder")
  endif()
endforeach()

file(READ "${PREFIX}/share/applications/org.tarvik.Tarvik.desktop" desktop)
if(NOT desktop MATCHES "\nExec=tarvik\n" OR NOT desktop MATCHES "\nIcon=tarvik\n")
  message(FATAL_ERROR "desktop entry does not start the installed program")
endif()

# max 3x1 + 2x2 with x1 + x2 <= 4, x1 + 3x2 <= 6, x1 <= 3: the corner (3, 1) gives 11.
execute_process(COMMAND "${PREFIX}/bin/tarvik-solve" --brief "${MODEL}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Optimal solution found\t11(\\.0*)?\n")
  message(FATAL_ERROR "installed tarvik-solve: exit ${rc}, output '${out}', errors '${err}'")
endif()

# The installed program, started through its link in bin, uses the help file
# beside it, finds the examples in share/tarvik/examples and carries the
# welcome photograph (1024 by 819).
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "${PREFIX}/bin/tarvik" --startup-probe
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
file(REAL_PATH "${PREFIX}/lib/tarvik/Tarvik2000.hlp" help)
file(REAL_PATH "${PREFIX}/share/tarvik/examples/tsp" examples)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\nexamples ([^\n]*) present\n" OR NOT CMAKE_MATCH_1 STREQUAL examples)
  message(FATAL_ERROR "installed tarvik does not find its examples: output '${out}'")
endif()
if(NOT out MATCHES "\nhelp-file ([^\n]*) present\n" OR NOT CMAKE_MATCH_1 STREQUAL help
   OR NOT out MATCHES "\nwelcome-picture 1024x819\n")
  message(FATAL_ERROR "installed tarvik: exit ${rc}, output '${out}', errors '${err}'")
endif()

# Both installed commands tell their version without a display.
foreach(program tarvik tarvik-solve)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=QT_QPA_PLATFORM "${PREFIX}/bin/${program}" --version
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "^${program} \\(Tarvik\\) [0-9]")
    message(FATAL_ERROR "installed ${program} --version: exit ${rc}, output '${out}', errors '${err}'")
  endif()
endforeach()
