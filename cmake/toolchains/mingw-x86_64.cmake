# 64-bit Windows (x86-64) with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix).
# Tests run under Wine (Debian: wine, wine64).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

find_program(QEL_WINE NAMES wine)
if(QEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QEL_WINE})
endif()
