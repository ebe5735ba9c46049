# What `cmake --install` puts where; the layout is set in KvxInstallLayout.cmake.
# `cmake --build build --target kvx_installed` builds just what is installed.
add_custom_target(kvx_installed)
foreach(program lindar lindar-cli KVXE2PPRCONV pdfsetup kvx-printjob)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    add_dependencies(kvx_installed ${program})
  endif()
endforeach()

if(TARGET KVXE2PT32)
  # Only the converter loads it; it has no business on the system's library path.
  install(TARGETS KVXE2PT32 LIBRARY DESTINATION ${KVX_INSTALL_PKGLIBDIR})
  set_target_properties(KVXE2PT32 PROPERTIES INSTALL_RPATH "")
  add_dependencies(kvx_installed KVXE2PT32)
endif()
if(TARGET KVXE2PPRCONV)
  # The copy pdfsetup puts into the printer's driver folder loads the transcoder copied
  # beside it; the one in bin/ finds it where it is installed.
  set_target_properties(KVXE2PPRCONV PROPERTIES INSTALL_RPATH "$ORIGIN;${CMAKE_INSTALL_RPATH}")
endif()

if(TARGET kvxpdf)
  # pdfsetup adds the CUPS queue from cups/ of the folder it installs from.
  install(TARGETS kvxpdf RUNTIME DESTINATION ${KVX_INSTALL_PKGLIBDIR}/cups)
  install(FILES ${PROJECT_SOURCE_DIR}/pdfprinter/cups/CorvelPDF.ppd DESTINATION ${KVX_INSTALL_PKGLIBDIR}/cups)
  add_dependencies(kvx_installed kvxpdf)
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/template ${PROJECT_SOURCE_DIR}/help
  DESTINATION ${KVX_INSTALL_DATADIR} PATTERN .keep EXCLUDE)
add_dependencies(kvx_installed kvx_data_folders)
if(TARGET kvx_templates)
  install(FILES ${KVX_TEMPLATE_FILES} DESTINATION ${KVX_INSTALL_DATADIR}/template)
  add_dependencies(kvx_installed kvx_templates)
endif()

# pdfsetup installs the printer from x86/ and x64/ of the folder it is given. Only this
# machine's architecture is built, so both hold the same files: the driver-side libraries,
# and links to the installed converter and transcoder (pdfsetup copies what they point to).
if(TARGET pdfsetup)
  file(RELATIVE_PATH KVX_BINDIR_FROM_ARCHDIR
    ${CMAKE_INSTALL_PREFIX}/${KVX_INSTALL_PKGLIBDIR}/x64 ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR})
  foreach(arch x86 x64)
    set(archdir ${KVX_INSTALL_PKGLIBDIR}/${arch})
    install(TARGETS KVXE2PPRDRV KVXE2PPRUI KVXE2PPRMON LIBRARY DESTINATION ${archdir})
    install(CODE "
      set(archdir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${archdir}\")
      file(CREATE_LINK ${KVX_BINDIR_FROM_ARCHDIR}/KVXE2PPRCONV \${archdir}/KVXE2PPRCONV.exe SYMBOLIC)
      file(CREATE_LINK ../$<TARGET_FILE_NAME:KVXE2PT32> \${archdir}/KVXE2PT32.dll SYMBOLIC)")
  endforeach()
  add_dependencies(kvx_installed KVXE2PPRDRV KVXE2PPRUI KVXE2PPRMON)
endif()
