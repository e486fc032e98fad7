# 64-bit Windows cross build, for the tests on machines that run no 32-bit programs.
set(BRISA_MINGW_TARGET x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake")
