# The port-monitor loader opens monitor libraries at run time.
target_link_libraries(kvx_platform_core PUBLIC ${CMAKE_DL_LIBS})
