# The same program built for 64-bit Windows: what the test machines can run
# under Wine when they cannot execute 32-bit programs.
set(RQ57_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
