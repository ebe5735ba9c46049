# Compound files are read and written through libgsf.
pkg_check_modules(LIBGSF REQUIRED IMPORTED_TARGET GLOBAL libgsf-1)
target_link_libraries(kvx_platform_core PRIVATE PkgConfig::LIBGSF)
