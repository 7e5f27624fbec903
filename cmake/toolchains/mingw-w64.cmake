# Windows builds with Debian's mingw-w64 cross compilers, shared by the i686
# and x86-64 toolchain files, which set QEL_MINGW_TRIPLE first.
#
# The -posix compilers (winpthreads threading model): GoogleTest and
# std::thread need it; the -win32 model has no std::thread in GCC 12.
# -static links libgcc, libstdc++ and winpthreads into every DLL and program,
# so that they need nothing beyond what Windows ships (KERNEL32, msvcrt) and
# the two libraries of this project; -static-libgcc -static-libstdc++ alone
# would still leave libwinpthread-1.dll behind.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QEL_MINGW_TRIPLE}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

# Libraries and packages of the target only; programs (objdump, python3,
# c++filt) are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${QEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
