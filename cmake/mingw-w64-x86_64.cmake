# Cross build for 64-bit Windows with Debian's MinGW-w64 toolchain, posix thread model
# (g++-mingw-w64-x86-64-posix): std::thread and std::mutex come from winpthreads.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOLMAR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOLMAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOLMAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KOLMAR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KOLMAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's runtimes (libgcc, libstdc++, winpthreads) linked into every program and into
# the engine library, so that the folder runs on a bare Windows machine without MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# The tests run under Wine: CMakeLists.txt sets the emulator to a wrapper with the build's own
# Wine prefix (cmake/wine-run.sh.in).
