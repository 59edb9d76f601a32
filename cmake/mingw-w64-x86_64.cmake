# Cross-build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DPLINTOR_PLATFORM=win32 -DPLINTOR_BUILD_UI=OFF
# The posix thread model, because the core uses std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PLINTOR_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${PLINTOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLINTOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PLINTOR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLINTOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the programs run from any folder (and under Wine) without the compiler's
# DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run under Wine; the wrapper bounds each run (see tests/win32/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/wine-run.sh)
