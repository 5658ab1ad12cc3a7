"""What the Windows tests share: the build's paths and the exe's bitness (set by CTest), the UI
driver under Wine, a copy of the exe per test and changes to the Wine prefix that undo themselves."""

import csv
import functools
import io
import os
import re
import resource
import shutil
import signal
import subprocess
import tempfile
import unittest
from pathlib import Path

BUILD = Path(os.environ['TARNVIK_BUILD_DIR'])
FIXTURES = BUILD / 'tests' / 'fixtures'
UIDRIVER = BUILD / 'tests' / 'uidriver.exe'
SERVICE_HOST = re.search(r'"https://([^/"]+)', (BUILD / 'generated' / 'TestUrls.h').read_text())[1]
INTERNET_SETTINGS = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
BITS, OTHER_VIEW = ('32', '64') if os.environ['TARNVIK_BITS'] == '32' else ('64', '32')
WINDOWS = os.environ.get('WINDOWS_VERSION', 'win7')
DRIVE_C = os.environ['WINEPREFIX'] + '/drive_c'
# A 32-bit program on 64-bit Windows has Program Files (x86) and, as its system32, SysWOW64.
WOW64 = BITS == '32' and os.environ.get('WINEARCH') != 'win32'
PROGRAM_FILES = Path(DRIVE_C, 'Program Files' + ' (x86)' * WOW64)
SYSTEMS = [Path(DRIVE_C, 'windows', name) for name in ('system32', 'syswow64')]
SYSTEM, OTHER_SYSTEM = SYSTEMS[::-1] if WOW64 else SYSTEMS


def windows_path(path):
    path = str(path)  # the prefix's drive_c is C:, the Unix root Z:
    path = 'C:' + path[len(DRIVE_C) :] if path.startswith(DRIVE_C + '/') else 'Z:' + path
    return path.replace('/', '\\')


def start_wine(*arguments, **options):
    """A Wine program in the background, Paths as Windows paths; its output only to a file, as
    what Wine starts may keep a pipe's end open for ever."""
    quiet = subprocess.DEVNULL
    options = {'stdout': quiet, 'stderr': quiet, **options}
    arguments = [windows_path(a) if isinstance(a, Path) else str(a) for a in arguments]
    return subprocess.Popen(['wine', *arguments], stdin=quiet, **options)


def limit_file_size(size):
    """For preexec_fn: a write past size bytes fails (and raises no signal)."""

    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))

    return limit


def wine(*arguments, check=True):
    """Exit code and output."""
    with tempfile.TemporaryFile() as out:
        code = start_wine(*arguments, stdout=out, stderr=subprocess.STDOUT).wait(timeout=300)
        out.seek(0)
        text = out.read().decode('utf-8', 'replace')
    if check and (code or text.startswith('error=') or '\nerror=' in text):
        raise AssertionError(f'wine {" ".join(map(str, arguments))} failed ({code}):\n{text}')
    return code, text


def reg(*arguments, view=BITS, check=True):
    return wine('reg', *arguments, f'/reg:{view}', check=check)


def driver(*commands, check=True):
    """Runs the UI driver; returns the last value it printed for each key."""
    unescape = functools.partial(re.sub, r'\\(.)', lambda m: {'r': '\r', 'n': '\n'}.get(m[1], m[1]))
    text = wine(UIDRIVER, *commands, check=check)[1]
    return {
        key: unescape(value)
        for key, _, value in (line.partition('=') for line in text.splitlines())
    }


def rows(table):
    """The rows of a CSV file the program wrote (UTF-8 with its byte-order mark), by column name."""
    data = table.read_bytes()
    assert data.startswith(b'\xef\xbb\xbf'), data[:8]
    return list(csv.DictReader(io.StringIO(data.decode('utf-8-sig'), newline=''), delimiter=';'))


class Case(unittest.TestCase):
    """Each test has its own copy of the exe, and so its own protocol file, in a new folder."""

    maxDiff = None

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix='tarnvik-', dir=PROGRAM_FILES))
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.exe = self.folder / 'TarnvikAnalyzer.exe'
        self.protocol_file = self.exe.with_suffix('.txt')
        shutil.copyfile(BUILD / 'TarnvikAnalyzer.exe', self.exe)
        self.addCleanup(driver, 'attach', 'close', check=False)  # a program a failed test left

    def run_exe(self, *arguments, **options):
        return start_wine(self.exe, *arguments, **options).wait(timeout=300)

    def start(self, *commands, arguments='', limited=False):
        """Starts the exe elevated (as Wine does), or `limited` as a user without administrator rights."""
        return driver(*['limited'] * limited, 'start', self.exe, arguments, *commands)

    def assert_shows(self, facts, shown):
        """The driver's output `shown` holds each key=value of `facts`."""
        self.assertEqual(facts, {key: shown.get(key) for key in facts})

    def use_proxy(self, port):
        self.reg_add(INTERNET_SETTINGS, 'ProxyServer', 'REG_SZ', f'127.0.0.1:{port}')
        self.reg_add(INTERNET_SETTINGS, 'ProxyEnable', 'REG_DWORD', '1')

    def copy_fixture(self, name, folder, as_name):
        folder.mkdir(exist_ok=True)
        shutil.copyfile(FIXTURES / name, folder / as_name)

    def reg_add(self, key, name, kind, data, view=BITS, remove=None):
        """Writes a value; afterwards deletes the key `remove` (one the test made) or restores the value."""
        value = ['/v', name] if name else ['/ve']
        code, old = reg('query', key, *value, view=view, check=False)
        reg('add', key, *value, '/t', kind, '/d', data, '/f', view=view)
        if remove or code:  # the test may have deleted it
            self.addCleanup(
                reg,
                'delete',
                remove or key,
                *([] if remove else value),
                '/f',
                view=view,
                check=False,
            )
        else:  # "    <name>    <type>    <data>"
            kind, data = re.search(r' (REG_\w+) +(.*?)\r?$', old, re.M).groups()
            self.addCleanup(reg, 'add', key, *value, '/t', kind, '/d', data, '/f', view=view)

    def register_outlook(self, fixture):
        """MS Outlook registered as its set-up does it, with fixture as its OUTLLIB.DLL."""
        clsid = '{0006F03A-0000-0000-C000-000000000046}'
        outlook = self.folder / 'outlook'
        self.copy_fixture(fixture, outlook, 'OUTLLIB.DLL')
        key = r'HKCR\Outlook.Application'
        self.reg_add(key + r'\CLSID', '', 'REG_SZ', clsid, remove=key)
        key = rf'HKCR\CLSID\{clsid}'
        self.reg_add(key + r'\LocalServer32', '', 'REG_SZ', outlook / 'outlook.exe', remove=key)
