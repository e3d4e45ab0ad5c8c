# x86_64 Windows: the same sources built for 64 bit, tested here under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZORIZA_MINGW_TRIPLE x86_64-w64-mingw32)
set(ZORIZA_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
