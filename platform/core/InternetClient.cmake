# The internet client (InternetSession, HttpConnection, HttpRequest) speaks HTTP through libcurl.
pkg_check_modules(LIBCURL REQUIRED IMPORTED_TARGET libcurl)
target_link_libraries(kvx_platform_core PRIVATE PkgConfig::LIBCURL)
