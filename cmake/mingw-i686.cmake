# The product: 32-bit Windows programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(QV_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
