# What the two MinGW-w64 cross builds share; the toolchain file of each
# names its processor, its compilers' prefix and its Wine launcher first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${wickerby_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${wickerby_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${wickerby_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${wickerby_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Unit tests run under Wine through the project's launcher.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/${wickerby_wine})
