# A 64-bit build of the Windows program, for testing on machines that cannot
# run 32-bit code.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
