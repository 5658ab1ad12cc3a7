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
    target_compile_definitions(tarnvik_options INTERFACE
        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600 NOMINMAX STRICT)
    # One self-contained exe: no libgcc/libstdc++/winpthread DLL beside it.
    target_link_options(tarnvik_options INTERFACE -static -static-libgcc -static-libstdc++)
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
