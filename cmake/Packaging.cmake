# Installing Vantrel on a Linux desktop and packing it as a Debian package.
#
# `cmake --install` puts both programs into bin/, the menu entry, the
# AppStream metainfo, the icon at 16, 32 and 48 pixels in the hicolor theme,
# the shells' completions and the manual pages under share/; `cpack` in the build folder makes
# vantrel_<version>_<arch>.deb of the same files. The desktop's menu and icon
# caches are refreshed by the triggers of the packages that own them, so the
# package carries no maintainer scripts.
include(GNUInstallDirs)

# Changes with the version in project(); the release's entry in
# packaging/changelog carries the same date.
set(VANTREL_RELEASE_DATE "2026-12-06")
# The MIT licence of LICENSE: SPDX's name in the metainfo, Debian's in the
# package's copyright, which carries the terms themselves.
set(VANTREL_LICENSE "MIT")
set(VANTREL_DEBIAN_LICENSE "Expat")
set(VANTREL_CONTACT "dev@vantrel.org")
set(VANTREL_APP_ID "org.vantrel.Vantrel")

set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(_made ${PROJECT_BINARY_DIR}/packaging)

# Programs.
install(TARGETS vantrel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vantrel)
  install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${_packaging}/${VANTREL_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${_packaging}/${VANTREL_APP_ID}.metainfo.xml.in
                 ${_made}/${VANTREL_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${_made}/${VANTREL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # resources/make_icon.py draws these from the same shapes as vantrel.ico.
  foreach(size 16 32 48)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/vantrel-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${VANTREL_APP_ID}.png)
  endforeach()
endif()

# vantrel-cli's completions for bash, zsh and fish, which the program makes
# from its own options, each installed where its shell looks for them.
set(_completion_file_bash vantrel-cli)
set(_completion_folder_bash bash-completion/completions)
set(_completion_file_zsh _vantrel-cli)
set(_completion_folder_zsh zsh/vendor-completions)
set(_completion_file_fish vantrel-cli.fish)
set(_completion_folder_fish fish/vendor_completions.d)
set(_completion_files)
foreach(shell bash zsh fish)
  set(file ${_made}/completions/${shell}/${_completion_file_${shell}})
  add_custom_command(
    OUTPUT ${file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_made}/completions/${shell}
    COMMAND vantrel-cli --completion ${shell} > ${file}
    DEPENDS vantrel-cli
    COMMENT "Making vantrel-cli's ${shell} completion")
  install(FILES ${file}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/${_completion_folder_${shell}})
  list(APPEND _completion_files ${file})
endforeach()
add_custom_target(vantrel_completions ALL DEPENDS ${_completion_files})

# Manual pages, with the version and date filled in and compressed as
# Debian keeps them (gzip -n: no name or time stamp, so the bytes repeat).
set(_pages vantrel-cli)
if(TARGET vantrel)
  list(APPEND _pages vantrel)
endif()
set(_compressed)
foreach(page ${_pages})
  configure_file(${PROJECT_SOURCE_DIR}/docs/${page}.1.in
                 ${_made}/${page}.1 @ONLY)
  add_custom_command(
    OUTPUT ${_made}/${page}.1.gz
    COMMAND gzip -9 -n -c ${_made}/${page}.1 > ${_made}/${page}.1.gz
    DEPENDS ${_made}/${page}.1
    COMMENT "Compressing the manual page ${page}.1")
  list(APPEND _compressed ${_made}/${page}.1.gz)
endforeach()
add_custom_target(vantrel_manual_pages ALL DEPENDS ${_compressed})
install(FILES ${_compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What Debian wants beside the files of any package. The copyright file
# holds LICENSE's terms (below its title and copyright line) as a field's
# continuation lines: each indented by a space, an empty line as " .".
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _terms)
string(FIND "${_terms}" "Permission" _terms_start)
string(SUBSTRING "${_terms}" ${_terms_start} -1 _terms)
string(STRIP "${_terms}" _terms)
string(REPLACE "\n\n" "\n.\n" _terms "${_terms}")
string(REPLACE "\n" "\n " VANTREL_LICENSE_TERMS " ${_terms}")
configure_file(${_packaging}/copyright.in ${_made}/copyright @ONLY)
add_custom_command(
  OUTPUT ${_made}/changelog.gz
  COMMAND gzip -9 -n -c ${_packaging}/changelog > ${_made}/changelog.gz
  DEPENDS ${_packaging}/changelog
  COMMENT "Compressing the package's changelog")
add_custom_target(vantrel_changelog ALL DEPENDS ${_made}/changelog.gz)
install(FILES ${_made}/copyright ${_made}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantrel)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${VANTREL_VERSION_DISPLAY})
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_CONTACT "The Vantrel developers <${VANTREL_CONTACT}>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${VANTREL_WEB_ADDRESS})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "extracts the text between two markers from every file in a folder")
# CPack puts the summary above this as the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vantrel pulls one marked-out piece of text out of every file of a chosen
kind in a chosen folder and collects the pieces into new text files: one
collected file or a new folder with one file per source. The typical job is
lifting the body text out of a folder of similar saved web pages.
.
The package holds the Vantrel window, with its application menu entry, and
vantrel-cli, its command-line twin for scripts and batch work.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends is worked out from the programs' shared libraries (ICU, gumbo,
# uchardet, zlib, Qt).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (the text boxes' context menus) in the window's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
include(CPack)
