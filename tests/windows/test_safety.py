"""Run from a download folder: libraries planted there or named by a relative registry path never
run, a malformed string table is read safely and a body trickled by the server ends on time."""

import time

import harness
import servers

NOTES = r'HKLM\SOFTWARE\Lotus\Notes'


class SafetyTest(harness.Case):

    def planted(self):
        return sorted(path.name for path in self.folder.rglob('*.loaded'))

    def test_libraries_planted_beside_the_exe_are_not_loaded(self):
        # Wine, told to prefer native copies as Windows does, would load any the loader looks for.
        for name in ('winmm', 'wininet', 'mapi32'):
            self.copy_fixture('planted.dll', self.folder, name + '.dll')
            self.reg_add(r'HKCU\Software\Wine\DllOverrides', name, 'REG_SZ', 'native,builtin')
        self.assert_shows({'box.caption': 'Upozornenie'}, self.start('test', 'close'))
        self.assertEqual([], self.planted())

    def test_notes_files_are_read_as_data_only(self):
        notes = self.folder / 'notes'
        self.copy_fixture('nstrings-5.0.11.dll', notes, 'nstrings.dll')
        self.reg_add(NOTES, 'Path', 'REG_SZ', harness.windows_path(notes) + '\\', remove=r'HKLM\SOFTWARE\Lotus')
        self.reg_add(NOTES, 'Name', 'REG_SZ', 'notes.exe')  # no program file: the release text counts
        self.assert_shows({'lotus.field': 'Release 5.0.11', 'lotus.image': 'cross'},
                          self.start('lotus', 'test', 'state'))
        # String 1 lies past the end of a block whose string 0 claims more than the block holds.
        self.copy_fixture('planted.dll', notes, 'nstrings.dll')
        self.assert_shows({'lotus.field': ''}, harness.driver('attach', 'test', 'state'))
        # A relative path resolves against the current folder: its program file is not run.
        self.copy_fixture('planted.dll', notes, 'notes.exe')
        self.reg_add(NOTES, 'Path', 'REG_SZ', 'notes\\')
        self.assert_shows({'lotus.field': ''}, harness.driver('attach', 'test', 'state', 'close'))
        self.assertEqual([], self.planted())

    def test_a_trickled_body_is_left_at_the_time_limit(self):
        trickle = servers.Server(servers.Trickle)
        proxy = servers.Server(servers.Tunnel, http=trickle.port)
        for server in (proxy, trickle):
            self.addCleanup(server.stop)
        self.reg_add(harness.INTERNET_SETTINGS, 'ProxyServer', 'REG_SZ', f'127.0.0.1:{proxy.port}')
        self.reg_add(harness.INTERNET_SETTINGS, 'ProxyEnable', 'REG_DWORD', '1')
        started = time.monotonic()
        self.assert_shows({'http.field': 'OK', 'http.image': 'tick'}, self.start('test', 'state', 'close'))
        # A liveness bound, not a benchmark: one byte every 2 s would otherwise take hours.
        self.assertLess(time.monotonic() - started, 30 + 20)
