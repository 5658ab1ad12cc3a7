# The x64 exe; tests run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(THREAD_MODEL posix)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)

# CTest starts every Windows test program through Wine; scripts/wine-session.sh
# provides the prefix, the wineserver and the display for the whole run.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
