# Where an installed copy keeps its pieces, relative to the install prefix:
#   bin/             the programs
#   share/lindar/    the data folders (template/, help/)
#   lib/lindar/      the transcoder library and the printer's driver-side layout (x86/, x64/)
# The programs find their data relative to their own folder, so any prefix works
# (/usr, /usr/local, ~/.local, a staging folder).
include(GNUInstallDirs)
set(KVX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/lindar)
set(KVX_INSTALL_PKGLIBDIR lib/lindar)
file(RELATIVE_PATH KVX_DATADIR_FROM_BINDIR
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KVX_INSTALL_DATADIR})
file(RELATIVE_PATH KVX_PKGLIBDIR_FROM_BINDIR
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KVX_INSTALL_PKGLIBDIR})
# Installed programs load the transcoder from lib/lindar.
set(CMAKE_INSTALL_RPATH "$ORIGIN/${KVX_PKGLIBDIR_FROM_BINDIR}")
