# Cross toolchain for the 64-bit Windows build, for 64-bit hosts.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CT_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
