# kvx_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> [INSTRUMENT <targets...>])
# A libFuzzer target (clang only, -DKVX_FUZZ=ON). The libraries named in INSTRUMENT are
# compiled with coverage and the address and undefined-behaviour checks, so that the
# fuzzer sees into the code it drives, not only into its own entry point.
function(kvx_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;INSTRUMENT" ${ARGN})
  foreach(library IN LISTS ARG_INSTRUMENT)
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endforeach()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()
