# Cross build for 64-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSALINE_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# ctest runs the Windows test programs through Wine's 64-bit loader, named
# explicitly: Debian's wine command takes the 32-bit loader whenever it is
# installed, and that one cannot run where the host runs no 32-bit code.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine64)
