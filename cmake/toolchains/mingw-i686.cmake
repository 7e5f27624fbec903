# 32-bit Windows (i686) with mingw-w64 (Debian: g++-mingw-w64-i686-posix).
# No emulator: x86-64 kernels built without IA-32 emulation cannot run 32-bit
# code, so this build is compiled and its export table checked, not run.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QEL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
