"""A trace of an earlier client installation, as the user sees it across two runs."""

import unittest

import harness
from harness import ids, regdel, regset

KEY = r'HKLM\SOFTWARE\Devadozededa'
KEY_32 = r'HKLM32\SOFTWARE\Devadozededa'
CONFLICT = ('Na tomto počítači už je alebo niekedy bol inštalovaný Tarnvik. Overte jeho '
            'nainštalovanie. Pokiaľ máte Tarnvik nainštalovaný odinštalujte ho. Ak ho nemáte '
            'nainštalovaný zmažte údaje v registroch [HKLM\\Software\\Devadozededa] a '
            '[HKCU\\Software\\Devadozededa].')
FOUND = 'Tarnvik už je alebo bol niekedy nainštalovaný.'
NOT_FOUND = 'Tarnvik nie je nainštalovaný.'
LABEL = ids.IDC_EARLIER_INSTALL_LABEL


class EarlierInstallationTest(harness.AnalyzerTestCase):

    def setUp(self):
        super().setUp()
        self.addCleanup(self.driver, regdel(KEY), regdel(KEY_32))

    def test_trace_fails_the_item_and_a_second_run_without_it_passes(self):
        r = self.start(
            regset(KEY, 'Root', 'sz', r'C:\Program Files\Tarnvik'),
            'test', 'box', 'close-box',
            'field', ids.IDC_EARLIER_INSTALL, 'image', ids.IDC_EARLIER_INSTALL_STATUS,
            'link', LABEL, 'tip', LABEL, 'click-label', LABEL)
        self.assertEqual(FOUND, r.fields[ids.IDC_EARLIER_INSTALL])
        self.assertEqual('cross', r.images[ids.IDC_EARLIER_INSTALL_STATUS])
        self.assertTrue(r.links[LABEL], 'the label should be a red underlined link')
        self.assertEqual(CONFLICT, r.tips[LABEL])
        click = r.box_of(f'clickbox.{LABEL}')
        self.assertEqual(('Informácie', 'none', CONFLICT), (click.caption, click.icon, click.text))
        self.assertEqual('Upozornenie', r.box.caption)
        self.assertEqual('warning', r.box.icon)
        # Every item before it passes under Wine, so it is the first conflict.
        self.assertIn('\r\n\r\n1)  ' + CONFLICT + '\r\n2)  ', r.box.text)
        first_protocol = self.sandbox.protocol_text()
        self.assertIn('Inštalácia Tarnvika: ' + FOUND + '\r\n', first_protocol)

        r = self.driver(
            'attach', regdel(KEY),
            'test', 'box', 'close-box',
            'field', ids.IDC_EARLIER_INSTALL, 'image', ids.IDC_EARLIER_INSTALL_STATUS,
            'link', LABEL, 'tip', LABEL, 'click-label', LABEL, 'close', 'wait-exit')
        self.assertEqual(NOT_FOUND, r.fields[ids.IDC_EARLIER_INSTALL])
        self.assertEqual('tick', r.images[ids.IDC_EARLIER_INSTALL_STATUS])
        self.assertFalse(r.links[LABEL], 'a passed item must lose its link')
        self.assertEqual('', r.tips[LABEL])
        self.assertEqual('none', r[f'clickbox.{LABEL}'])
        self.assertNotIn(CONFLICT, r.box.text)
        self.assertIn('\r\n\r\n1)  ', r.box.text, 'numbering starts again at 1')
        self.assertEqual(0, r.exit_code)

        protocol = self.sandbox.protocol_text()
        self.assertEqual(1, protocol.count('ŠTART TESTU'), 'only the second run is kept')
        self.assertIn('Inštalácia Tarnvika: ' + NOT_FOUND + '\r\n', protocol)
        self.assertNotEqual(first_protocol, protocol)

    def test_trace_written_by_a_32_bit_installer_is_found(self):
        self.driver(regset(KEY_32, 'Root', 'sz', r'C:\Program Files (x86)\Tarnvik'))
        r = self.run_test()
        self.assertEqual(FOUND, r.fields[ids.IDC_EARLIER_INSTALL])
        self.assertEqual('cross', r.images[ids.IDC_EARLIER_INSTALL_STATUS])

    def test_key_without_root_value_is_no_trace(self):
        self.driver(regset(KEY, 'Version', 'sz', '1.0'))
        r = self.run_test()
        self.assertEqual(NOT_FOUND, r.fields[ids.IDC_EARLIER_INSTALL])
        self.assertEqual('tick', r.images[ids.IDC_EARLIER_INSTALL_STATUS])
        self.assertIn('Inštalácia Tarnvika: ' + NOT_FOUND + '\r\n', self.sandbox.protocol_text())


if __name__ == '__main__':
    unittest.main()
