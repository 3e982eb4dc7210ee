# The same sources for 64-bit Windows: what the tests run under a 64-bit Wine
# on machines whose kernel cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(QV_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
