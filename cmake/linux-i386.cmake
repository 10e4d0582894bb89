# 32-bit Linux (i386) with the machine's own GCC and its 32-bit libraries (g++-multilib).
# The programs are linked statically, so that qemu-i386 runs them on any x86-64 machine,
# whether or not its kernel runs 32-bit programs, without a 32-bit system to find libraries in.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i386)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
