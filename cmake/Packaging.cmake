# Installation (`cmake --install`) and the Debian package (`cpack -G DEB`): the program, its desktop entry,
# icons, software-centre metadata, manual page, licence and changelog. Tests, benchmarks and tools are never installed.
# Without the window program there is nothing to install.
if(NOT TARGET nodra_mmc_trm)
  return()
endif()

include(GNUInstallDirs)

set(NODRA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(NODRA_PACKAGE nodra3000)
set(NODRA_MAINTAINER "NODRA3000 for Linux developers <nodra3000@lists.nodra3000.org>")
set(NODRA_HOMEPAGE "https://nodra3000.org/")
# Directories the install creates are world-readable whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS nodra_mmc_trm RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripping install (CPack's) also drops what strip leaves and Debian counts as unneeded: the compilers'
# .comment and the .note section (dh_strip does the same).
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(
      COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:nodra_mmc_trm>\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()")

install(FILES ${NODRA_PACKAGING_DIR}/nodra3000.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${NODRA_PACKAGING_DIR}/nodra3000.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# AppStream's entry for software centres; it names the desktop entry as what it launches.
set(NODRA_METAINFO ${NODRA_PACKAGING_DIR}/org.nodra3000.nodra3000.metainfo.xml)
install(FILES ${NODRA_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 256)
  install(FILES ${NODRA_PACKAGING_DIR}/nodra3000-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME nodra3000.png)
endforeach()

# -n keeps the name and time stamp out of the archive, so the same page always gives the same bytes.
find_program(NODRA_GZIP gzip REQUIRED)
set(NODRA_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/nodra_mmc_trm.1.gz)
add_custom_command(
  OUTPUT ${NODRA_MAN_PAGE}
  COMMAND ${NODRA_GZIP} -9n -c ${NODRA_PACKAGING_DIR}/nodra_mmc_trm.1 > ${NODRA_MAN_PAGE}
  DEPENDS ${NODRA_PACKAGING_DIR}/nodra_mmc_trm.1
  VERBATIM)
add_custom_target(nodra_man_page ALL DEPENDS ${NODRA_MAN_PAGE})
install(FILES ${NODRA_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The changelog kept in packaging/ and the metadata's newest release must describe the version being built,
# or the package would lie about it.
file(STRINGS ${NODRA_PACKAGING_DIR}/changelog NODRA_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT NODRA_CHANGELOG_HEAD MATCHES "^${NODRA_PACKAGE} \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with \"${NODRA_CHANGELOG_HEAD}\", "
                      "not with an entry for ${NODRA_PACKAGE} ${PROJECT_VERSION}")
endif()
file(STRINGS ${NODRA_METAINFO} NODRA_METAINFO_RELEASE REGEX "<release " LIMIT_COUNT 1)
if(NOT NODRA_METAINFO_RELEASE MATCHES "version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "the newest release in ${NODRA_METAINFO} is not ${PROJECT_VERSION}")
endif()
set(NODRA_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${NODRA_CHANGELOG}
  COMMAND ${NODRA_GZIP} -9n -c ${NODRA_PACKAGING_DIR}/changelog > ${NODRA_CHANGELOG}
  DEPENDS ${NODRA_PACKAGING_DIR}/changelog
  VERBATIM)
add_custom_target(nodra_changelog ALL DEPENDS ${NODRA_CHANGELOG})

# The machine-readable copyright file carries LICENSE's own holder and text, so the two never drift apart.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE NODRA_LICENSE)
if(NOT NODRA_LICENSE MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.+[^\n])\n*$")
  message(FATAL_ERROR "LICENSE lacks its copyright line")
endif()
set(NODRA_COPYRIGHT "${CMAKE_MATCH_1}")
# In the format a paragraph's lines are indented by one space and an empty line is a lone ".".
string(REPLACE "\n\n" "\n.\n" NODRA_LICENSE_BODY "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " NODRA_LICENSE_BODY " ${NODRA_LICENSE_BODY}")
configure_file(${NODRA_PACKAGING_DIR}/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)

set(NODRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${NODRA_PACKAGE})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${NODRA_CHANGELOG} DESTINATION ${NODRA_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${NODRA_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "NODRA3000 for Linux developers")
set(CPACK_PACKAGE_CONTACT "${NODRA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program of the NODRA3000 hand-held inventory data terminal")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Reads the terminal's stores into PC text or XML files, fills its stock list\n"
    "from a PC file, edits its settings and requests clears, all through the\n"
    "memory card that the terminal shows as a removable drive. Runs as a small\n"
    "window with Slovak texts, or unattended from the command line for cron jobs\n"
    "and accounting systems.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME ${NODRA_PACKAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${NODRA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${NODRA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What Qt loads at run time and no library scan sees: the window-system plugins (only recommended by Qt's
# libraries, so an install without recommends had no window) and Qt's own Slovak texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
# Debian's own libraries only; the scan takes the versions from their symbols files and adds them.
find_program(NODRA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NODRA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, "
      "libqt6widgets6 (>= 6.4.2), libqt6gui6 (>= 6.4.2), libqt6core6 (>= 6.4.2), libpugixml1v5 (>= 1.13), "
      "libmount1 (>= 2.38), libstdc++6 (>= 12), libgcc-s1 (>= 3.0), libc6 (>= 2.36)")
endif()

include(CPack)
