# Cross build for 64-bit Windows with MinGW-w64, for 64-bit probes and
# 64-bit RFC libraries. Tests run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(wickerby_mingw x86_64-w64-mingw32)
set(wickerby_wine wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
