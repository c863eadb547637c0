# Cross build for 32-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TESSALINE_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# ctest runs the Windows test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
