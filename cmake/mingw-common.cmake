# Shared by the two MinGW-w64 toolchains: a static Win32 GUI program that
# imports only Windows' own DLLs. ZORIZA_MINGW_THREADS picks the compilers'
# thread model: win32 for the shipped file, which then carries no threads
# runtime, and posix for the x86_64 build, so that one build of the tests also
# runs on the other model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZORIZA_MINGW_TRIPLE}-gcc-${ZORIZA_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${ZORIZA_MINGW_TRIPLE}-g++-${ZORIZA_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${ZORIZA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZORIZA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections
                 -Wl,--nxcompat,--dynamicbase)

# Hardening that Microsoft's binary checks look for. Terminal Server aware:
# a Remote Desktop host runs it for many users, and no per-user compatibility
# redirection is wanted. Subsystem 6.1 says Windows 7, the oldest system it
# starts on. The stack protector's runtime (libssp) is linked statically,
# like the rest: -fstack-protector-strong on the link line is what adds it.
add_compile_options(-fstack-protector-strong)
add_link_options(-fstack-protector-strong -Wl,--tsaware
                 -Wl,--major-subsystem-version,6,--minor-subsystem-version,1)

# The shipped file is built for size: every object, not only the program's
# own. CMake appends its own -O3 to the release flags, so -Os is given as a
# compile and link option, which come after them on the command line (the
# link step matters too: with link-time optimisation it compiles again).
# GCC 12 fails inside (an internal compiler error) when it splits that
# link-time compile into partitions at -Os; one partition is also smaller.
add_compile_options($<$<CONFIG:Release>:-Os>)
add_link_options("$<$<CONFIG:Release>:-Os;-flto-partition=one>")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Test programs run under Wine, each in a fresh copy of one golden prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-in-prefix.sh)
