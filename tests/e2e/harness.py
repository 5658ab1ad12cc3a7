"""Helpers for the end-to-end tests of TarnvikAnalyzer.exe.

The tests run the shipped exe under Wine and look at it the way a user does, through the
UI driver (tests/uidriver.exe in the build directory). The whole CTest run is wrapped in
scripts/wine-session.sh, which provides WINEPREFIX, DISPLAY and one wineserver; the
build directory comes from TARNVIK_BUILD_DIR, which CTest sets.

Writing a test
--------------
Derive from AnalyzerTestCase. Each test gets its own copy of the exe in a fresh temporary
folder (``self.sandbox``), so protocol files never mix; every process started from that copy
is ended and the folder removed when the test ends, pass or fail::

    class DiskTest(harness.AnalyzerTestCase):
        def test_full_run(self):
            run = self.run_test()                      # launch, "Test !", read everything, close
            self.assertEqual('Informácie', run.box.caption)
            self.assertEqual('tick', run.images[ids.IDC_DISK_STATUS])
            self.assertIn('Disk C:\\: ', self.sandbox.protocol_text())

``self.driver(...)`` runs any driver commands; arguments are strings, numbers, or lists and
tuples of them (flattened). It returns a DriverResult, a read-only view of the ``key=value``
lines the driver printed; a failing driver (an ``error=`` line, non-zero exit) fails the test
with the whole output, unless ``check=False`` is given::

    r = self.driver('launch', self.sandbox.exe, 'radio', ids.IDC_TYPE_LOTUS,
                    'visible', ids.IDC_LOTUS_GROUP, 'close', 'wait-exit')
    r['visible.1028']   -> '1'
    r.exit_code         -> 0

Driver commands (run ``wine uidriver.exe`` without arguments for the list): launch <exe>,
attach, kill <exe>, click <id>, radio <id>, checked <id>, test, wait-box, box, close-box,
field <id>, fields, visible <id>, visibility, focus, enabled <id>, image <id>, images,
pixels <id>, link <id>, links, tip <id>, tips, tooltip, click-label <id>, hover <id>,
regset <key> <name> <type> <data>, regdel <key>, regdelval <key> <name>, hold <file>,
close, close-window, wait-exit, running, sleep <ms>, timeout <s>.

The commands that read the screen (image, images, link, links, pixels, box icons) see only
what is not covered. The driver moves every message box beside the dialog and hover waits
for its tip to go again, so the dialog stays readable; close the summary box (close-box)
before reading anyway, as run_test does, since the program's state is final only then.

Registry state: ``self.set_registry_value(key, name, kind, data)`` changes it now and
undoes it when the test ends (keys like r'HKLM\\Software\\Devadozededa'; a root ending in
32 means the 32-bit view); ``self.delete_registry_key(key)`` removes a key now.
To change the registry between two runs of the same program instance, put
``regset(...)``/``regdel(...)`` command lists into one driver call.

Control ids: ``ids.IDC_CPU`` and friends, read from res/resource.h.
"""

import collections
import datetime
import os
import re
import shutil
import subprocess
import tempfile
import types
import unittest
from pathlib import Path

REPO_DIR = Path(__file__).resolve().parents[2]

PROGRAM_CODE_PAGE = 'cp1250'
CAPTION = 'Tarnvik Analyzér 1.0'
INFO_CAPTION = 'Informácie'
WARNING_CAPTION = 'Upozornenie'
ERROR_CAPTION = 'Chyba aplikácie'
SUCCESS_TEXT = 'Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez komplikácií.'
CONFLICTS_HEADING = 'Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n'
PROTOCOL_ERROR_TEXT = 'Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.'
PROTOCOL_NOTE_PREFIX = 'Protokol s výsledkom testovania je uložený v súbori:\r\n'

# Longest a single driver call may take: a test run may take up to the driver's own limit
# (120 s by default, see the 'timeout' command), plus start-up and reading.
DRIVER_TIMEOUT_S = 300


def _read_control_ids():
    values = {}
    pattern = re.compile(r'^#define\s+(ID\w+)\s+(\d+)\s*$')
    with open(REPO_DIR / 'res' / 'resource.h', encoding='utf-8') as header:
        for line in header:
            match = pattern.match(line)
            if match:
                values[match.group(1)] = int(match.group(2))
    return types.SimpleNamespace(**values)


ids = _read_control_ids()

# The controls in the order the test run judges them (MS Exchange type), as
# (status image, label) pairs; the Lotus Notes row replaces the last two for Lotus Domino.
JUDGED_ITEMS_EXCHANGE = [
    (ids.IDC_DISK_STATUS, ids.IDC_DISK_LABEL),
    (ids.IDC_OS_STATUS, ids.IDC_OS_LABEL),
    (ids.IDC_IE_STATUS, ids.IDC_IE_LABEL),
    (ids.IDC_ACTIVEX_STATUS, ids.IDC_ACTIVEX_LABEL),
    (ids.IDC_EARLIER_INSTALL_STATUS, ids.IDC_EARLIER_INSTALL_LABEL),
    (ids.IDC_HTTP_STATUS, ids.IDC_HTTP_LABEL),
    (ids.IDC_HTTPS_STATUS, ids.IDC_HTTPS_LABEL),
    (ids.IDC_ADMIN_STATUS, ids.IDC_ADMIN_LABEL),
    (ids.IDC_DOMAIN_STATUS, ids.IDC_DOMAIN_LABEL),
    (ids.IDC_SERVICES_STATUS, ids.IDC_SERVICES_LABEL),
    (ids.IDC_OUTLOOK_STATUS, ids.IDC_OUTLOOK_LABEL),
    (ids.IDC_EXCHANGE_STATUS, ids.IDC_EXCHANGE_LABEL),
]
JUDGED_ITEMS_LOTUS = JUDGED_ITEMS_EXCHANGE[:-2] + [(ids.IDC_LOTUS_STATUS, ids.IDC_LOTUS_LABEL)]

EXCHANGE_ROWS = [ids.IDC_EXCHANGE_GROUP, ids.IDC_OUTLOOK_LABEL, ids.IDC_OUTLOOK,
                 ids.IDC_OUTLOOK_STATUS, ids.IDC_EXCHANGE_LABEL, ids.IDC_EXCHANGE,
                 ids.IDC_EXCHANGE_STATUS]
LOTUS_ROWS = [ids.IDC_LOTUS_GROUP, ids.IDC_LOTUS_LABEL, ids.IDC_LOTUS, ids.IDC_LOTUS_STATUS]


def build_dir():
    value = os.environ.get('TARNVIK_BUILD_DIR')
    if not value:
        raise RuntimeError('TARNVIK_BUILD_DIR is not set: run the tests through CTest')
    return Path(value)


def exe_path():
    return build_dir() / 'TarnvikAnalyzer.exe'


def driver_path():
    return build_dir() / 'tests' / 'uidriver.exe'


def windows_path(path):
    """The Wine path of a Unix path (drive Z: is the Unix root)."""
    return 'Z:' + str(Path(path).resolve()).replace('/', '\\')


def unescape(value):
    """Reverses the driver's escaping of backslashes and control characters."""
    def replace(match):
        code = match.group(1)
        if code == '\\':
            return '\\'
        if code in 'rnt':
            return {'r': '\r', 'n': '\n', 't': '\t'}[code]
        return chr(int(code[1:], 16))
    return re.sub(r'\\(\\|r|n|t|x[0-9a-fA-F]{2})', replace, value)


_HEADER = re.compile(r'(.*) ŠTART TESTU - (\d{1,2})\.(\d{1,2})\.(\d{4}) '
                     r'(\d\d):(\d\d):(\d\d)\r\n(-*)\r\n\r\n')


def protocol_stamp(text):
    """The local date and time in a protocol's header line."""
    match = _HEADER.match(text)
    if not match:
        raise AssertionError(f'no protocol header in {text[:200]!r}')
    day, month, year, hour, minute, second = (int(g) for g in match.group(2, 3, 4, 5, 6, 7))
    return datetime.datetime(year, month, day, hour, minute, second)


def _flatten(commands):
    for item in commands:
        if isinstance(item, (list, tuple)):
            yield from _flatten(item)
        else:
            yield str(item)


# Command lists to put into one driver call.
def regset(key, name, kind, data):
    return ['regset', key, name, kind, data]


def regdel(key):
    return ['regdel', key]


def regdelval(key, name):
    return ['regdelval', key, name]


Box = collections.namedtuple('Box', 'caption icon text')


class DriverError(AssertionError):
    """The driver failed; the message holds its whole output."""

    def __init__(self, result):
        super().__init__(f'uidriver failed: {result.error or "exit code " + str(result.returncode)}'
                         f'\ncommand: {" ".join(result.arguments)}\noutput:\n{result.output}'
                         f'{result.stderr}')
        self.result = result


class DriverResult:
    """The facts one driver call printed, in order; result[key] is the last value of key."""

    def __init__(self, arguments, returncode, stdout, stderr):
        self.arguments = arguments
        self.returncode = returncode
        self.output = stdout
        self.stderr = stderr
        self.pairs = []
        for line in stdout.splitlines():
            key, sep, value = line.rstrip('\r').partition('=')
            if sep:
                self.pairs.append((key, unescape(value)))

    def __getitem__(self, key):
        for name, value in reversed(self.pairs):
            if name == key:
                return value
        raise KeyError(f'{key!r} not in driver output:\n{self.output}')

    def __contains__(self, key):
        return any(name == key for name, _ in self.pairs)

    def get(self, key, default=None):
        return self[key] if key in self else default

    def all(self, key):
        return [value for name, value in self.pairs if name == key]

    def by_id(self, prefix):
        """{control id: value} of every '<prefix>.<id>' key (later values win)."""
        found = {}
        for name, value in self.pairs:
            head, _, tail = name.partition('.')
            if head == prefix and tail.isdigit():
                found[int(tail)] = value
        return found

    @property
    def ok(self):
        return self.returncode == 0 and 'done' in self

    @property
    def error(self):
        return self.get('error')

    @property
    def exit_code(self):
        return int(self['exit'])

    @property
    def box(self):
        return self.box_of('box')

    def box_of(self, prefix):
        """caption/icon/text of a box reported under prefix ('box', 'clickbox.<id>')."""
        return Box(caption=self[prefix + '.caption'], icon=self[prefix + '.icon'],
                   text=self[prefix + '.text'])

    @property
    def fields(self):
        return self.by_id('field')

    @property
    def images(self):
        return self.by_id('image')

    @property
    def links(self):
        return {key: value == '1' for key, value in self.by_id('link').items()}

    @property
    def tips(self):
        return self.by_id('tip')

    @property
    def visible(self):
        return {key: value == '1' for key, value in self.by_id('visible').items()}


def run_driver(*commands, check=True, env=None, timeout=DRIVER_TIMEOUT_S):
    """Runs uidriver.exe under Wine with the given commands and parses what it printed."""
    arguments = list(_flatten(commands))
    environment = dict(os.environ)
    # Arguments and paths reach Windows through the Unix locale: make it UTF-8 everywhere.
    environment['LC_ALL'] = 'C.UTF-8'
    environment.update(env or {})
    # Files, not pipes: a program started through Wine may hold on to inherited pipe ends
    # after the driver ended, and reading a pipe to its end would then wait for it.
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        try:
            returncode = subprocess.run(['wine', str(driver_path())] + arguments,
                                        env=environment, stdin=subprocess.DEVNULL,
                                        stdout=stdout, stderr=stderr,
                                        timeout=timeout).returncode
            ending = ''
        except subprocess.TimeoutExpired:
            returncode = -1
            ending = f'error=no answer within {timeout} s\n'
        stdout.seek(0)
        stderr.seek(0)
        result = DriverResult(arguments, returncode,
                              stdout.read().decode('utf-8', 'replace') + ending,
                              stderr.read().decode('utf-8', 'replace'))
    if check and not result.ok:
        raise DriverError(result)
    return result


class Sandbox:
    """A copy of the exe in a temporary folder of its own, and its protocol file."""

    def __init__(self, source=None, name='TarnvikAnalyzer.exe'):
        self.folder = Path(tempfile.mkdtemp(prefix='tarnvik-e2e-'))
        self.exe_file = self.folder / name
        shutil.copyfile(source or exe_path(), self.exe_file)
        self.protocol_file = self.exe_file.with_suffix('.txt')

    @property
    def exe(self):
        """The exe's Windows path, for 'launch' and 'kill'."""
        return windows_path(self.exe_file)

    @property
    def protocol(self):
        """The protocol file's Windows path, as the program names it."""
        return windows_path(self.protocol_file)

    def protocol_exists(self):
        return self.protocol_file.is_file()

    def protocol_bytes(self):
        return self.protocol_file.read_bytes()

    def protocol_text(self):
        """The protocol decoded from the program's code page; fails on bytes outside it."""
        return self.protocol_bytes().decode(PROGRAM_CODE_PAGE)

    def stop(self):
        """Ends every process started from this copy (none is fine)."""
        run_driver('kill', self.exe, check=False)

    def remove(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)


class AnalyzerTestCase(unittest.TestCase):
    """A test case with its own exe copy (self.sandbox) and driver helpers."""

    maxDiff = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        for variable in ('WINEPREFIX', 'DISPLAY'):
            if not os.environ.get(variable):
                raise RuntimeError(f'{variable} is not set: run the tests inside '
                                   'scripts/wine-session.sh')
        for needed in (exe_path(), driver_path()):
            if not needed.is_file():
                raise RuntimeError(f'{needed} is missing: build the mingw preset first')

    def setUp(self):
        super().setUp()
        self.sandbox = Sandbox()
        self.addCleanup(self.sandbox.remove)

    def driver(self, *commands, check=True, env=None):
        return run_driver(*commands, check=check, env=env)

    def start(self, *commands, check=True):
        """Launches this test's exe copy, then runs the commands."""
        return self.driver('launch', self.sandbox.exe, *commands, check=check)

    def run_test(self, lotus=False, before=(), after=()):
        """Launches the exe, optionally picks Lotus Domino, presses "Test !", reads the
        summary box, closes it, reads every field, image, link and tip, runs `after`,
        presses "Koniec" and checks that the program ended with exit code 0."""
        result = self.start(before, ['radio', ids.IDC_TYPE_LOTUS] if lotus else [],
                            'test', 'box', 'close-box', 'fields', 'images', 'links', 'tips',
                            after, 'close', 'wait-exit')
        self.assertEqual(0, result.exit_code, 'the program ended with an unexpected code')
        return result

    def set_registry_value(self, key, name, kind, data, own_key=True):
        """Sets a value now (kind: sz, expand_sz, multi_sz, dword, binary). When the test
        ends, the whole key goes if own_key (a key only this test uses), else the value."""
        self.addCleanup(self.driver, regdel(key) if own_key else regdelval(key, name))
        self.driver(regset(key, name, kind, data))

    def delete_registry_key(self, key):
        self.driver(regdel(key))

    # Protocol helpers ---------------------------------------------------------------

    def assert_protocol_header(self, text, not_before, not_after):
        """The first three lines: caption, "ŠTART TESTU", local date and time within the
        given datetimes (second precision), 77 hyphens, an empty line. Returns the time."""
        match = _HEADER.match(text)
        self.assertIsNotNone(match, f'no protocol header in {text[:200]!r}')
        self.assertEqual(CAPTION, match.group(1))
        stamp = protocol_stamp(text)
        self.assertLessEqual(not_before.replace(microsecond=0), stamp)
        self.assertLessEqual(stamp, not_after)
        # Day and month have no leading zero.
        self.assertEqual(str(stamp.day), match.group(2))
        self.assertEqual(str(stamp.month), match.group(3))
        self.assertEqual(77, len(match.group(8)))
        return stamp
