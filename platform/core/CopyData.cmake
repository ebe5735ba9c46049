# The WM_COPYDATA stand-in talks over local sockets.
find_package(Qt6 REQUIRED COMPONENTS Network)
target_link_libraries(kvx_platform_core PUBLIC Qt6::Network)
