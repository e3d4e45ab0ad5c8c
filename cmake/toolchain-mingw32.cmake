# i686 Windows: the shipped 32-bit program, run here under Wine's i386 loader
# like every test program of this build.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZORIZA_MINGW_TRIPLE i686-w64-mingw32)
set(ZORIZA_MINGW_THREADS win32)
# Its exceptions unwind by DWARF tables and it registers no SEH handler: the
# no-SEH mark lets the loader refuse any handler an attacker sets up.
add_link_options(-Wl,--no-seh)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
