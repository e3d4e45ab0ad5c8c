# i686 Windows: the shipped 32-bit program. This machine cannot run it; its
# test reads the file itself.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZORIZA_MINGW_TRIPLE i686-w64-mingw32)
set(ZORIZA_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
