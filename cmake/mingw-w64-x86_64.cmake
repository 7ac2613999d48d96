# Cross-compiling the Windows build on Debian with mingw-w64, 64-bit.
#
# The "posix" flavour of the compilers carries the full C++ thread support
# (std::thread, std::mutex); with -static (top-level CMakeLists) its runtime
# is linked in, so the programs import only system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SYMPACK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SYMPACK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SYMPACK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SYMPACK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SYMPACK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine, in a Wine prefix of this build tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh --prefix ${CMAKE_BINARY_DIR}/wineprefix)

# GoogleTest is not installed for the target: build it from Debian's sources
# (see cross/FindGTest.cmake).
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/cross)
