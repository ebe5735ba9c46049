# shm_open/sem_open live in librt and libpthread on older C libraries (stubs on newer ones).
find_package(Threads REQUIRED)
find_library(KVX_RT_LIBRARY rt)
target_link_libraries(kvx_platform_core PUBLIC Threads::Threads)
if(KVX_RT_LIBRARY)
  target_link_libraries(kvx_platform_core PUBLIC ${KVX_RT_LIBRARY})
endif()
