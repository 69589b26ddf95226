# 32-bit Windows, the shipped program's architecture.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-w64-mingw32.cmake ...
set(CMAKE_SYSTEM_PROCESSOR x86)
set(NORVESSA_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake")
