# Shared by the two MinGW-w64 toolchains: a static Win32 GUI program that
# imports only Windows' own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZORIZA_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ZORIZA_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${ZORIZA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZORIZA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
add_compile_options(-municode -ffunction-sections -fdata-sections)
add_link_options(-municode -static -static-libgcc -static-libstdc++ -Wl,--gc-sections
                 -Wl,--nxcompat,--dynamicbase)
