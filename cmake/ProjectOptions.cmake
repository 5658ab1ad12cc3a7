# Compiler settings shared by every target of the project (not by GoogleTest itself).
add_library(tarnvik_options INTERFACE)

target_compile_options(tarnvik_options INTERFACE -Wall -Wextra -Wpedantic -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Sources are UTF-8; every program text is stored in Windows code page 1250. (Only the
    # fuzzing build uses clang, which knows no other execution character set than UTF-8;
    # the parsers it fuzzes do not depend on it.)
    target_compile_options(tarnvik_options INTERFACE -finput-charset=UTF-8 -fexec-charset=CP1250)
endif()

if(WIN32)
    # The oldest Windows each exe runs on: XP SP3 (5.1) for x86; Vista (6.0) for x64, which
    # serves 64-bit Outlook (2010 and later). The headers hide anything newer, so using it is
    # a compile error; what newer systems add is looked up at run time.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
        set(TARNVIK_WINDOWS_VERSION 0x0501)
        set(TARNVIK_SUBSYSTEM_VERSION 5.01)
    else()
        set(TARNVIK_WINDOWS_VERSION 0x0600)
        set(TARNVIK_SUBSYSTEM_VERSION 6.00)
    endif()
    target_compile_definitions(tarnvik_options INTERFACE
        _WIN32_WINNT=${TARNVIK_WINDOWS_VERSION} WINVER=${TARNVIK_WINDOWS_VERSION}
        _WIN32_IE=0x0600 NOMINMAX STRICT)
    # One self-contained exe: no libgcc/libstdc++/winpthread DLL beside it.
    target_link_options(tarnvik_options INTERFACE -static -static-libgcc -static-libstdc++
        -Wl,--subsystem,windows:${TARNVIK_SUBSYSTEM_VERSION})
    # Reproducible exes: one commit builds to the same bytes in any folder and at any time. The
    # linker writes no time stamp into the PE header, and file names that reach the binary
    # (__FILE__, debug sections before stripping) are relative to the source and build folders.
    # The later map wins, so the build folder inside the source folder becomes "build".
    target_compile_options(tarnvik_options INTERFACE
        -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
        -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
    target_link_options(tarnvik_options INTERFACE -Wl,--no-insert-timestamp)
elseif(TARNVIK_FUZZ)
    target_compile_options(tarnvik_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=all)
    target_link_options(tarnvik_options INTERFACE -fsanitize=address,undefined)
elseif(TARNVIK_SANITIZE)
    target_compile_options(tarnvik_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(tarnvik_options INTERFACE -fsanitize=address,undefined)
endif()
