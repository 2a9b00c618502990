# Run at every build (cmake -P): works out the version the programs and the
# package carry, and writes what depends on it, each file only when its text
# changes (so that an unchanged version rebuilds nothing).
#
#   -DSOURCE_DIR -DOUT_DIR -DVERSION=<project version> -DMAINTAINER="Name <address>"
#   -DCHANGELOG=<changelog source> [-DGIT=<git program>] -DGZIP=<gzip program>
#
# A checkout at the release tag v<VERSION> builds version VERSION. Any other
# checkout appends what `git describe` says: the version text becomes
# "VERSION (git DESCRIBE)" and the package version "VERSION+git.DESCRIBE" (with
# "." for "-"), and the Debian changelog gets an entry for that build on top.
# Without git, or outside a git checkout of these sources (a source tarball, a
# clone without history), the version is VERSION alone.

set(describe "")
set(commit_epoch "")
if(GIT)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --show-toplevel
                  RESULT_VARIABLE rc OUTPUT_VARIABLE top ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  # Only this tree's own history counts, not that of a checkout around it.
  if(rc EQUAL 0)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${SOURCE_DIR}" src)
  endif()
  if(rc EQUAL 0 AND top STREQUAL src)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} describe --tags --match "v[0-9]*" --dirty --always
                    RESULT_VARIABLE rc OUTPUT_VARIABLE describe ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
      set(describe "")
    endif()
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} log -1 --format=%ct
                    RESULT_VARIABLE rc OUTPUT_VARIABLE commit_epoch ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0 OR NOT commit_epoch MATCHES "^[0-9]+$")
      set(commit_epoch "")
    endif()
  endif()
endif()

if(describe STREQUAL "" OR describe STREQUAL "v${VERSION}")
  set(version_text "${VERSION}")
  set(package_version "${VERSION}")
else()
  set(version_text "${VERSION} (git ${describe})")
  # A native package's version: letters, digits and . + ~ only.
  string(REGEX REPLACE "^v${VERSION}-" "" tail "${describe}")
  string(REGEX REPLACE "[-_/]" "." tail "${tail}")
  string(REGEX REPLACE "[^A-Za-z0-9.+~]" "" tail "${tail}")
  set(package_version "${VERSION}+git.${tail}")
endif()

# Writes TEXT to FILE unless FILE already holds it.
function(write_if_changed file text)
  if(EXISTS "${file}")
    file(READ "${file}" old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE "${file}.tmp" "${text}")
  file(RENAME "${file}.tmp" "${file}")
endfunction()

file(MAKE_DIRECTORY ${OUT_DIR}/generated ${OUT_DIR}/debian)
write_if_changed(${OUT_DIR}/generated/tarvikversion.inc
  "// Written by cmake/Version.cmake at build time.\n#define TARVIK_VERSION_TEXT \"${version_text}\"\n")
write_if_changed(${OUT_DIR}/generated/package-version.cmake
  "set(CPACK_PACKAGE_VERSION \"${package_version}\")\nset(CPACK_DEBIAN_PACKAGE_VERSION \"${package_version}\")\n")
# The date of the sources (the last commit), for the manual pages.
write_if_changed(${OUT_DIR}/generated/source-date-epoch "${commit_epoch}")

# The Debian changelog: the maintainer filled in, an entry for a build between
# releases on top, compressed as Debian wants it (gzip -9n: no name, no time).
file(READ ${CHANGELOG} changelog)
string(REPLACE "@TARVIK_PACKAGE_MAINTAINER@" "${MAINTAINER}" changelog "${changelog}")
if(NOT package_version STREQUAL VERSION)
  if(commit_epoch STREQUAL "")
    string(TIMESTAMP commit_epoch "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${commit_epoch})
  string(TIMESTAMP weekday "%w" UTC)
  string(TIMESTAMP month "%m" UTC)
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  list(GET weekdays ${weekday} weekday)
  math(EXPR month "${month} - 1")
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET months ${month} month)
  string(TIMESTAMP date "${weekday}, %d ${month} %Y %H:%M:%S +0000" UTC)
  set(changelog "tarvik (${package_version}) UNRELEASED; urgency=medium

  * Development build from git ${describe}.

 -- ${MAINTAINER}  ${date}

${changelog}")
endif()
write_if_changed(${OUT_DIR}/debian/changelog "${changelog}")
if(NOT EXISTS ${OUT_DIR}/debian/changelog.gz
   OR ${OUT_DIR}/debian/changelog IS_NEWER_THAN ${OUT_DIR}/debian/changelog.gz)
  execute_process(COMMAND ${GZIP} -9nkf ${OUT_DIR}/debian/changelog COMMAND_ERROR_IS_FATAL ANY)
endif()
