# kvx_add_tests(<name> SOURCES <files...> LIBS <targets...> [GUI])
# One test executable per module, registered with CTest. GUI tests get a QApplication
# on the offscreen platform; every test runs with its own temporary XDG, TMPDIR and
# platform-root folders (see platform/testsupport).
function(kvx_add_tests name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE kvx_testmain_gui Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE kvx_testmain_core)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    KVX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KVX_BINARY_DIR="${PROJECT_BINARY_DIR}"
    KVX_BIN_DIR="${PROJECT_BINARY_DIR}/bin")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 900)
endfunction()
