# Installation layout and the Debian package (cpack -G DEB).
# The programs install themselves (src/app, src/cli); here the desktop entry and the icon.
if(TARGET ravelin)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/ravelin.desktop DESTINATION share/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/ravelin.svg
          DESTINATION share/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME "ravelin")
set(CPACK_PACKAGE_VENDOR "The Ravelin authors")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "The Ravelin authors <ravelin@ravelin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Measures and maps Object Pascal sources: line counts, form counts, unit trees")
set(CPACK_PACKAGE_DESCRIPTION
    "Ravelin counts blank, comment and source lines of Delphi / Object Pascal files, counts\n\
the components of their forms, and lists, charts and cross-references the units a project\n\
uses. Its reports are fixed-width plain-text files. The package holds the desktop window\n\
(ravelin) and the command-line front end (ravelin-cli).")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://ravelin.invalid/")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The libraries the programs link come from dpkg-shlibdeps; Qt's window system plugins and
# the desktop's opener (reports and links are opened with xdg-open) are named here.
find_program(RAVELIN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(RAVELIN_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
  # Debian 12's packages of the optional libraries, when this build links them.
  if(RAVELIN_HAVE_LIBGIT2)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libgit2-1.5")
  endif()
  if(RAVELIN_HAVE_GRAPHVIZ)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libgvc6, libcgraph6")
  endif()
  if(TARGET ravelin)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6core6, libqt6gui6, libqt6widgets6")
  endif()
endif()
if(TARGET ravelin)
  if(CPACK_DEBIAN_PACKAGE_DEPENDS)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ")
  endif()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
endif()

if(WIN32)
  # The Windows build ships as a zip: ravelin-cli.exe and the README (cpack -G ZIP).
  set(CPACK_GENERATOR "ZIP")
  set(CPACK_SYSTEM_NAME "windows-x86_64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGING_INSTALL_PREFIX "")
else()
  set(CPACK_GENERATOR "DEB")
endif()
set(CPACK_SOURCE_GENERATOR "TGZ")
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/;/Testing/")
include(CPack)
