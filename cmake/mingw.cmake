# The cross build for Windows with Debian's MinGW-w64, shared by the two
# toolchain files, which set TESSALINE_MINGW_TARGET first.
#
# The thread model picks the compilers. The programs a release ships take
# win32: the posix model links winpthreads into every program that throws,
# and Debian 12's winpthreads imports GetTickCount64 (Windows Vista) and the
# vectored exception handlers (Windows XP), so Windows XP refuses such a
# program before any of its code runs. The Windows-side tests take posix:
# GoogleTest needs std::mutex, which the win32 model's C++ library lacks.
set(CMAKE_SYSTEM_NAME Windows)

if(NOT TESSALINE_MINGW_THREADS)
  set(TESSALINE_MINGW_THREADS win32)
endif()
# Compiler checks run in projects of their own; they must see the same model.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TESSALINE_MINGW_THREADS)

set(CMAKE_C_COMPILER ${TESSALINE_MINGW_TARGET}-gcc-${TESSALINE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TESSALINE_MINGW_TARGET}-g++-${TESSALINE_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TESSALINE_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSALINE_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
