"""Run from a download folder: libraries planted there or named by a relative registry path never
run, and a malformed string table is read safely. (A trickled body: the network test.)"""

import harness

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
