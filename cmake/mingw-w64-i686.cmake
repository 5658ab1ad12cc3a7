# The 32-bit exe, for Windows XP SP3 and later. 32-bit code cannot run on the machines that
# build it: it is compiled and inspected only.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
# The win32 thread model: the posix one links a thread library that needs GetTickCount64,
# which Windows XP lacks, so the exe would not even start there.
set(THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
