# Compiler settings shared by every target of the project (not by GoogleTest itself).
add_library(tarnvik_options INTERFACE)

target_compile_options(tarnvik_options INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    # Sources are UTF-8; every program text is stored in Windows code page 1250.
    -finput-charset=UTF-8 -fexec-charset=CP1250)

if(WIN32)
    target_compile_definitions(tarnvik_options INTERFACE
        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600 NOMINMAX STRICT)
    # One self-contained exe: no libgcc/libstdc++/winpthread DLL beside it.
    target_link_options(tarnvik_options INTERFACE -static -static-libgcc -static-libstdc++)
elseif(TARNVIK_SANITIZE)
    target_compile_options(tarnvik_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(tarnvik_options INTERFACE -fsanitize=address,undefined)
endif()
