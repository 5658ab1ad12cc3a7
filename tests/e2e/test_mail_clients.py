"""MS Outlook version, MAPI log-on and Lotus Notes version as the user sees them, with the
mail clients registered in the Wine prefix and fixture libraries standing in for them."""

import os
import shutil
import tempfile
import unittest
from pathlib import Path

import harness
from harness import ids, regdel, regset

OUTLOOK_CLSID = '{0006F03A-0000-0000-C000-000000000046}'
OUTLOOK_KEYS = [r'HKCR\Outlook.Application', r'HKCR\CLSID' + '\\' + OUTLOOK_CLSID]
NOTES_KEY = r'HKLM\SOFTWARE\Lotus\Notes'
OUTLOOK_CONFLICT = ('Aktualizujte alebo nainštalujte poštovného klienta MS Outlook vo verzii '
                    '200 SP2 alebo novší. K inštalácii nepoužívajte verziu XP SP1!')
NOTES_CONFLICT = ('Aktualizujte alebo nainštalujte poštovného klienta Lotus Notes vo verzii 5 '
                  'alebo novší. K inštalácii nepoužívajte verzie 5.0.11, 6.0 a 6.0.1.')
EXCHANGE_CONFLICT = 'Spojenie so serverom MS Exchange nebolo úspešné.'
OUTLOOK_LINE = 'Verzia MS Outloook (OUTLLIB.DLL): '
NOTES_LINE = 'Verzia Lotus Notes klienta: '


def fixture(*parts):
    return harness.build_dir().joinpath('tests', *parts)


class MailClientTestCase(harness.AnalyzerTestCase):

    def folder_with(self, files):
        """A temporary folder holding copies of the given fixtures: {name: source}."""
        folder = Path(tempfile.mkdtemp(prefix='tarnvik-mail-'))
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        for name, source in files.items():
            shutil.copyfile(source, folder / name)
        return folder

    def register_outlook(self, folder):
        self.addCleanup(self.driver, [regdel(key) for key in OUTLOOK_KEYS])
        self.driver(regset(OUTLOOK_KEYS[0] + r'\CLSID', '@', 'sz', OUTLOOK_CLSID),
                    regset(OUTLOOK_KEYS[1] + r'\LocalServer32', '@', 'sz',
                           harness.windows_path(folder) + r'\outlook.exe'))

    def register_notes(self, folder):
        self.addCleanup(self.driver, regdel(NOTES_KEY))
        self.driver(regset(NOTES_KEY, 'Path', 'sz', harness.windows_path(folder) + '\\'),
                    regset(NOTES_KEY, 'Name', 'sz', 'notes.exe'))


class OutlookVersionTest(MailClientTestCase):

    def run_with_outllib(self, source):
        self.register_outlook(self.folder_with({'OUTLLIB.DLL': source}))
        return self.run_test()

    def test_blacklisted_release_fails_with_a_link(self):
        r = self.run_with_outllib(fixture('mail', 'outlook_10_0_2627', 'OUTLLIB.DLL'))
        self.assertEqual('MS Outlook 10.0.2627', r.fields[ids.IDC_OUTLOOK])
        self.assertEqual('cross', r.images[ids.IDC_OUTLOOK_STATUS])
        self.assertTrue(r.links[ids.IDC_OUTLOOK_LABEL])
        self.assertEqual(OUTLOOK_CONFLICT, r.tips[ids.IDC_OUTLOOK_LABEL])
        self.assertIn(')  ' + OUTLOOK_CONFLICT, r.box.text)
        protocol = self.sandbox.protocol_text()
        self.assertTrue(protocol.endswith(OUTLOOK_LINE + 'MS Outlook 10.0.2627\r\n'), protocol)
        self.assertNotIn(NOTES_LINE, protocol)

    def test_minimum_release_passes(self):
        r = self.run_with_outllib(fixture('mail', 'outlook_9_0_4527', 'OUTLLIB.DLL'))
        self.assertEqual('MS Outlook 9.0.4527', r.fields[ids.IDC_OUTLOOK])
        self.assertEqual('tick', r.images[ids.IDC_OUTLOOK_STATUS])
        self.assertFalse(r.links[ids.IDC_OUTLOOK_LABEL])

    def test_library_version_export_wins_over_a_four_part_file_version(self):
        # File version 9.0.0.4527; its DllGetVersion reports 9.0.4527.
        r = self.run_with_outllib(fixture('tvver_dllver.dll'))
        self.assertEqual('MS Outlook 9.0.4527', r.fields[ids.IDC_OUTLOOK])
        self.assertEqual('tick', r.images[ids.IDC_OUTLOOK_STATUS])

    def test_unregistered_outlook_shows_nothing_and_fails(self):
        r = self.run_test()
        self.assertEqual('', r.fields[ids.IDC_OUTLOOK])
        self.assertEqual('cross', r.images[ids.IDC_OUTLOOK_STATUS])
        self.assertTrue(self.sandbox.protocol_text().endswith(OUTLOOK_LINE + '\r\n'))


class MapiLogonTest(MailClientTestCase):
    """Wine loads a mapi32.dll from the system directory only when told to prefer it."""

    def setUp(self):
        super().setUp()
        system32 = Path(os.environ['WINEPREFIX'], 'drive_c', 'windows', 'system32')
        self.mapi = system32 / 'mapi32.dll'
        saved = self.mapi.with_suffix('.dll.tarnvik-saved')
        if self.mapi.exists():
            shutil.move(self.mapi, saved)
            self.addCleanup(shutil.move, saved, self.mapi)
        self.addCleanup(lambda: self.mapi.unlink(missing_ok=True))
        shutil.copyfile(fixture('mail', 'mapi_full', 'mapi32.dll'), self.mapi)
        self.set_registry_value(r'HKCU\Software\Wine\DllOverrides', 'mapi32', 'sz', 'native',
                                own_key=False)

    def run_logon(self, logon_result):
        env = {'TARNVIK_MAPI_STUB_LOGON_HR': logon_result}
        r = self.driver('launch', self.sandbox.exe, 'test', 'box', 'close-box', 'fields',
                        'images', 'links', 'tips', 'enabled', 0, 'focus', 'click', ids.IDC_TYPE_LOTUS,
                        'checked', ids.IDC_TYPE_LOTUS, 'close', 'wait-exit', env=env)
        self.assertEqual('1', r['enabled.0'], 'the dialog is enabled again after the log-on')
        self.assertEqual('1', r['focus'], 'and has the keyboard focus')
        self.assertEqual('1', r[f'checked.{ids.IDC_TYPE_LOTUS}'], 'and takes clicks again')
        return r

    def test_successful_logon(self):
        r = self.run_logon('0')
        self.assertEqual('OK', r.fields[ids.IDC_EXCHANGE])
        self.assertEqual('tick', r.images[ids.IDC_EXCHANGE_STATUS])
        self.assertFalse(r.links[ids.IDC_EXCHANGE_LABEL])
        self.assertNotIn(EXCHANGE_CONFLICT, r.box.text)

    def test_failed_logon_is_a_conflict_without_protocol_line(self):
        r = self.run_logon('80040111')  # MAPI_E_LOGON_FAILED
        self.assertEqual('MAPI Logon failed.', r.fields[ids.IDC_EXCHANGE])
        self.assertEqual('cross', r.images[ids.IDC_EXCHANGE_STATUS])
        self.assertEqual(EXCHANGE_CONFLICT, r.tips[ids.IDC_EXCHANGE_LABEL])
        self.assertIn(')  ' + EXCHANGE_CONFLICT, r.box.text)
        protocol = self.sandbox.protocol_text()
        self.assertNotIn('MAPI', protocol)
        self.assertTrue(protocol.endswith(OUTLOOK_LINE + '\r\n'))


class NotesVersionTest(MailClientTestCase):

    def test_program_file_version_passes(self):
        self.register_notes(self.folder_with({
            'notes.exe': fixture('mail', 'notes_program', 'notes.exe'),
            'nstrings.dll': fixture('mail', 'notes_program', 'nstrings.dll')}))
        r = self.run_test(lotus=True)
        self.assertEqual('Lotus Notes 6.5.4', r.fields[ids.IDC_LOTUS])
        self.assertEqual('tick', r.images[ids.IDC_LOTUS_STATUS])
        protocol = self.sandbox.protocol_text()
        self.assertTrue(protocol.endswith(NOTES_LINE + 'Lotus Notes 6.5.4\r\n'), protocol)
        self.assertNotIn(OUTLOOK_LINE, protocol)

    def test_blacklisted_release_text_is_shown_unchanged_and_fails(self):
        self.register_notes(self.folder_with({
            'nstrings.dll': fixture('mail', 'notes_release_5_0_11', 'nstrings.dll')}))
        r = self.run_test(lotus=True)
        self.assertEqual('Release 5.0.11', r.fields[ids.IDC_LOTUS])
        self.assertEqual('cross', r.images[ids.IDC_LOTUS_STATUS])
        self.assertEqual(NOTES_CONFLICT, r.tips[ids.IDC_LOTUS_LABEL])
        self.assertIn(')  ' + NOTES_CONFLICT, r.box.text)
        self.assertTrue(self.sandbox.protocol_text().endswith(NOTES_LINE + 'Release 5.0.11\r\n'))


if __name__ == '__main__':
    unittest.main()
