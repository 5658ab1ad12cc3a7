# Inspects a built exe with objdump and fails the build when it
# - imports a library other than the known system libraries (a MinGW runtime DLL included),
# - in the x86 build, needs a newer Windows than XP SP3: a subsystem version above 5.1, or
#   an imported function that is not in windows-xp-sp3-imports.txt, whose every entry was
#   checked against the oldest Windows version Microsoft documents for it.
#   cmake -DEXE=<exe> -DOBJDUMP=<objdump> -DARCH=<x86|x86_64> -P CheckExe.cmake
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed")
endif()

set(known KERNEL32 USER32 GDI32 ADVAPI32 OLE32 MSVCRT COMCTL32)
string(REGEX MATCHALL "DLL Name: [^\n]+" libraries "${dump}")
foreach(entry ${libraries})
    string(REGEX REPLACE "DLL Name: ([^.]+)\\.[dD][lL][lL]" "\\1" library "${entry}")
    string(TOUPPER "${library}" library)
    if(NOT library IN_LIST known)
        message(FATAL_ERROR "${EXE} imports ${library}, which is not a known system library")
    endif()
endforeach()

if(ARCH STREQUAL "x86")
    if(NOT dump MATCHES "file format pei-i386" OR
       NOT dump MATCHES "MajorSubsystemVersion\t[0-5]\nMinorSubsystemVersion\t[01]\n")
        message(FATAL_ERROR "${EXE} is not an i386 program for subsystem 5.1 or older (Windows XP)")
    endif()
    file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/windows-xp-sp3-imports.txt allowed)
    # Each imported library's block lists its functions after "Hint/Ord Member-Name".
    string(REPLACE "\n" ";" lines "${dump}")
    foreach(line ${lines})
        if(line MATCHES "DLL Name: ([^.]+)\\.")
            string(TOUPPER "${CMAKE_MATCH_1}" library)
        elseif(library AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +([A-Za-z_][A-Za-z0-9_@]*)")
            if(NOT "${library} ${CMAKE_MATCH_1}" IN_LIST allowed)
                message(FATAL_ERROR "${EXE} imports ${library} ${CMAKE_MATCH_1}: not known to be in Windows XP SP3")
            endif()
        endif()
    endforeach()
endif()
