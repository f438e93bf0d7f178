# The part of the mingw-w64 cross toolchains (posix threads) that both Windows builds share;
# the toolchain file of each build names its processor and target triplet first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${CT_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CT_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${CT_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${CT_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
