# Cross-compiling the 32-bit Windows program with mingw-w64.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
