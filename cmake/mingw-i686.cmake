# Cross toolchain for the 32-bit Windows product build.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CT_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
