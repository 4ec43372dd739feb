# The installed layout around the run-time folder (whose programs, library, skins, help and
# language files each folder installs itself into ${QX_INSTALL_RUNTIME_DIR}): the launchers,
# the desktop entries and icons, the AppStream metadata, the man pages, the completion and the
# documentation. Included once every target exists; the names are in QxInstallDirs.cmake.

set(_qx_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(_qx_generated ${CMAKE_BINARY_DIR}/packaging)

# The updaters' folder exists even while it is empty.
install(DIRECTORY DESTINATION ${QX_INSTALL_RUNTIME_DIR}/Package)

# Launchers: relative symbolic links into the run-time folder, so the install can be moved. A
# program finds its folder from its real path (/proc/self/exe resolves the link).
file(RELATIVE_PATH _qx_bin_to_runtime /${CMAKE_INSTALL_BINDIR} /${QX_INSTALL_RUNTIME_DIR})
foreach(_program IN LISTS QX_LAUNCHED_PROGRAMS)
  set(_link ${_qx_generated}/bin/${_program})
  file(MAKE_DIRECTORY ${_qx_generated}/bin)
  file(CREATE_LINK ${_qx_bin_to_runtime}/${_program} ${_link} SYMBOLIC)
  install(FILES ${_link} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# Desktop entry, autostart entry (the driver in the notification area at login) and metadata.
install(FILES ${_qx_packaging}/desktop/${QX_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_qx_packaging}/desktop/${QX_DESKTOP_ID}-autostart.desktop
        DESTINATION ${QX_INSTALL_AUTOSTART_DIR} RENAME ${QX_DESKTOP_ID}.desktop)
set(QX_METAINFO_FILE ${_qx_generated}/${QX_APPSTREAM_ID}.metainfo.xml)
configure_file(${_qx_packaging}/desktop/${QX_DESKTOP_ID}.metainfo.xml.in ${QX_METAINFO_FILE} @ONLY)
install(FILES ${QX_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${_qx_packaging}/bash-completion/qx480ctl
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Man pages and the changelog, with the version filled in and compressed as Debian wants them
# (gzip -n: no name or time stamp, so the same sources give the same package).
find_program(QX_GZIP gzip REQUIRED)
set(_qx_compressed "")
function(qx_compressed_file source output)
  configure_file(${source} ${output} @ONLY)
  add_custom_command(
    OUTPUT ${output}.gz
    COMMAND ${QX_GZIP} -9nf -k ${output}
    DEPENDS ${output}
    VERBATIM)
  set(_qx_compressed ${_qx_compressed} ${output}.gz PARENT_SCOPE)
endfunction()

foreach(_program IN LISTS QX_LAUNCHED_PROGRAMS)
  qx_compressed_file(${_qx_packaging}/man/${_program}.1 ${_qx_generated}/man/${_program}.1)
  install(FILES ${_qx_generated}/man/${_program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# Documentation: the copyright file, the changelog, the README and the windows' pictures.
set(_qx_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
execute_process(COMMAND date -u -R -d "${QX_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE QX_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
qx_compressed_file(${_qx_packaging}/debian/changelog.in ${_qx_generated}/doc/changelog)
configure_file(${_qx_packaging}/debian/copyright.in ${_qx_generated}/doc/copyright @ONLY)
install(FILES ${_qx_generated}/doc/copyright ${_qx_generated}/doc/changelog.gz
              ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${_qx_doc_dir})
# Every window's picture (docs/*.png) and the skin's previews (docs/skin/).
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${_qx_doc_dir}/pictures
        FILES_MATCHING PATTERN "*.png")

add_custom_target(qx_packaging_files ALL DEPENDS ${_qx_compressed})

# Everything the install takes from the build tree, so that a package needs only this built.
add_custom_target(qx_installed)
foreach(_target qx480-driver qx480ctl qx480-sim RoVezevi RadOdor qx_default_skin qx_help_files
                qx_language_files qx_desktop_icons qx_packaging_files)
  if(TARGET ${_target})
    add_dependencies(qx_installed ${_target})
  endif()
endforeach()
