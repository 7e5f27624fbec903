# 32-bit x86 Linux with the host's multilib GCC (g++-multilib), run through
# the user-mode emulator qemu-i386 (qemu-user): x86-64 kernels built without
# IA-32 emulation refuse 32-bit executables ("Exec format error").
#
# -m32 is part of the compiler command itself (CMake keeps the extra list
# items as mandatory compiler arguments), so it reaches every compile and link
# line, also of projects configured with CMAKE_C_FLAGS / CMAKE_CXX_FLAGS of
# their own (the installed-package consumer test sets both).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc -m32)
set(CMAKE_CXX_COMPILER g++ -m32)

# Debian's multiarch directory for i386: libgtest-dev:i386 installs its
# static libraries and CMake package there.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

find_program(QEL_QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEL_QEMU_I386})

# Look for libraries and packages in the target's directories only; programs
# (nm, c++filt, pkg-config, python3) are the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Never link the host's 64-bit libraries by mistake.
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
