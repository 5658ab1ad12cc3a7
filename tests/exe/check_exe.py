"""Fails the build when an exe imports more than the known system libraries (a MinGW runtime DLL
included) or, built for x86, needs more than Windows XP SP3: a subsystem above 5.1, or a function
missing from windows-xp-sp3-imports.txt, whose every entry was checked against the oldest Windows
version Microsoft documents for it.   check_exe.py <exe> <objdump> <x86|x86_64>"""
import re
import subprocess
import sys
from pathlib import Path

exe, objdump, arch = sys.argv[1:]
dump = subprocess.run([objdump, '-p', exe], capture_output=True, text=True, check=True).stdout
# Each "DLL Name:" line is followed by the functions imported from that library.
imports = [
    (dll.split('.')[0].upper(), re.findall(r'^\t[0-9a-f]+\t +\d+ +(\w+)', names, re.M))
    for dll, names in re.findall(r'DLL Name: (\S+)\n(.*?)(?=\n\n)', dump, re.S)
]
errors = [
    f'imports {dll}'
    for dll, _ in imports
    if dll not in {'KERNEL32', 'USER32', 'GDI32', 'ADVAPI32', 'OLE32', 'MSVCRT', 'COMCTL32'}
]
if arch == 'x86':
    allowed = set(Path(__file__).with_name('windows-xp-sp3-imports.txt').read_text().splitlines())
    errors += [
        f'imports {dll} {name}, not known in Windows XP SP3'
        for dll, names in imports
        for name in names
        if f'{dll} {name}' not in allowed
    ]
    subsystem = r'MajorSubsystemVersion\t[0-5]\nMinorSubsystemVersion\t[01]\n'
    if 'file format pei-i386' not in dump or not re.search(subsystem, dump):
        errors.append('is no i386 program for subsystem 5.1 (Windows XP)')
sys.exit('\n'.join(f'{exe} {error}' for error in errors) or None)
