# Cross build for 32-bit Windows with MinGW-w64, the sensor's first target.
# Tests run under 32-bit Wine, which the launcher also reaches where the
# kernel runs no 32-bit programs (tests/wine/setup-wine32.sh).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(wickerby_mingw i686-w64-mingw32)
set(wickerby_wine wine32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
