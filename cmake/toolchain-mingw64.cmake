# x86_64 Windows: the build that runs here, under Wine, for the tests.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZORIZA_MINGW_TRIPLE x86_64-w64-mingw32)
set(ZORIZA_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-in-prefix.sh)
