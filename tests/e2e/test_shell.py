"""The dialog as a whole: start state, installation type, verdict marks, protocol file, exit."""

import datetime
import re
import unittest

import harness
from harness import ids

EXCHANGE_PROTOCOL_LABELS = [
    'Kapacita RAM: ', 'Procesor: ', 'Disk C:\\: ', 'Verzia OS: ', 'Verzia Internet Explorera: ',
    'Stav ActiveX v IE: ', 'Inštalácia Tarnvika: ', 'HTTP: ', 'HTTPS: ',
    'Logged user is Administrator: ', 'Meno NT domény: ', 'Konfliktné služby: ',
    'Verzia MS Outloook (OUTLLIB.DLL): ',
]
LOTUS_PROTOCOL_LABELS = EXCHANGE_PROTOCOL_LABELS[:-1] + ['Verzia Lotus Notes klienta: ']
ITEM_LABELS = [label for _, label in harness.JUDGED_ITEMS_EXCHANGE] + [ids.IDC_LOTUS_LABEL]


def visibility_commands(controls):
    return [['visible', control] for control in controls]


class StartStateTest(harness.AnalyzerTestCase):

    def test_exchange_is_chosen_with_its_rows_and_nothing_is_judged(self):
        r = self.start('checked', ids.IDC_TYPE_EXCHANGE, 'checked', ids.IDC_TYPE_LOTUS,
                       visibility_commands(harness.EXCHANGE_ROWS + harness.LOTUS_ROWS),
                       'fields', 'images', 'links', 'close', 'wait-exit')
        self.assertEqual('1', r['checked.1005'])
        self.assertEqual('0', r['checked.1006'])
        for control in harness.EXCHANGE_ROWS:
            self.assertTrue(r.visible[control], f'control {control} should be visible')
        for control in harness.LOTUS_ROWS:
            self.assertFalse(r.visible[control], f'control {control} should be hidden')
        self.assertEqual({''}, set(r.fields.values()), r.fields)
        for image, _ in harness.JUDGED_ITEMS_EXCHANGE:
            self.assertEqual('none', r.images[image], f'status image {image}')
        self.assertEqual('hidden', r.images[ids.IDC_LOTUS_STATUS])
        self.assertFalse(any(r.links.values()), r.links)
        self.assertEqual(0, r.exit_code)

    def test_labels_have_empty_tips_and_no_click_box_before_a_run(self):
        r = self.start('tooltip', 'tips', 'click-label', ids.IDC_DISK_LABEL,
                       'hover', ids.IDC_DISK_LABEL, 'close', 'wait-exit')
        self.assertEqual(('1', '30000', '400', '13'),
                         (r['tooltip.initial'], r['tooltip.autopop'], r['tooltip.maxwidth'],
                          r['tooltip.count']))
        for label in ITEM_LABELS:
            self.assertEqual('1', r[f'tip.{label}.registered'], f'label {label} is no tool')
            self.assertEqual('', r.tips[label])
        self.assertEqual('0', r['tip.1043.registered'], 'the protocol note must have no tip')
        self.assertEqual('none', r['clickbox.1032'])
        self.assertEqual('0', r['hover.1032.shown'])

    def test_closing_the_window_ends_the_program(self):
        r = self.start('close-window', 'wait-exit')
        self.assertEqual(0, r.exit_code)


class InstallationTypeTest(harness.AnalyzerTestCase):

    def test_lotus_swaps_the_rows_and_choosing_it_again_changes_nothing(self):
        rows = harness.EXCHANGE_ROWS + harness.LOTUS_ROWS
        r = self.start('radio', ids.IDC_TYPE_LOTUS, visibility_commands(rows),
                       'checked', ids.IDC_TYPE_EXCHANGE, 'radio', ids.IDC_TYPE_LOTUS,
                       visibility_commands(rows), 'fields', 'images', 'links',
                       'close', 'wait-exit')
        self.assertEqual('1', r['checked.1006'])
        self.assertEqual('0', r['checked.1005'])
        for control in harness.EXCHANGE_ROWS:
            self.assertEqual(['0', '0'], r.all(f'visible.{control}'), f'control {control}')
        for control in harness.LOTUS_ROWS:
            self.assertEqual(['1', '1'], r.all(f'visible.{control}'), f'control {control}')
        # Switching only changes visibility: no field, image or label gets anything.
        self.assertEqual({''}, set(r.fields.values()))
        self.assertEqual('none', r.images[ids.IDC_LOTUS_STATUS])
        self.assertEqual('hidden', r.images[ids.IDC_OUTLOOK_STATUS])
        self.assertFalse(any(r.links.values()))

    def test_exchange_again_restores_the_start_layout(self):
        rows = harness.EXCHANGE_ROWS + harness.LOTUS_ROWS
        r = self.start('radio', ids.IDC_TYPE_LOTUS, 'radio', ids.IDC_TYPE_EXCHANGE,
                       visibility_commands(rows), 'checked', ids.IDC_TYPE_LOTUS,
                       'close', 'wait-exit')
        self.assertEqual('1', r['checked.1005'])
        self.assertEqual('0', r['checked.1006'])
        self.assertTrue(all(r.visible[c] for c in harness.EXCHANGE_ROWS), r.visible)
        self.assertFalse(any(r.visible[c] for c in harness.LOTUS_ROWS), r.visible)


class VerdictMarksTest(harness.AnalyzerTestCase):
    """Whatever this PC fails, each failed item is marked the same way everywhere."""

    def test_failed_items_are_links_with_tips_and_listed_in_run_order(self):
        r = self.run_test()
        failed = []
        for image, label in harness.JUDGED_ITEMS_EXCHANGE:
            verdict = r.images[image]
            self.assertIn(verdict, ('tick', 'cross'), f'status image {image}')
            if verdict == 'cross':
                self.assertTrue(r.links[label], f'label {label} of a failed item is no link')
                self.assertNotEqual('', r.tips[label], f'label {label} has no tip')
                failed.append(r.tips[label])
            else:
                self.assertFalse(r.links[label], f'label {label} of a passed item is a link')
                self.assertEqual('', r.tips[label])
        self.assertEqual('tick', r.images[ids.IDC_OS_STATUS])
        if failed:
            self.assertEqual(harness.WARNING_CAPTION, r.box.caption)
            self.assertEqual('warning', r.box.icon)
            listed = ''.join(f'\r\n{n})  {message}' for n, message in enumerate(failed, 1))
            self.assertEqual(harness.CONFLICTS_HEADING + listed, r.box.text)
        else:
            self.assertEqual(harness.INFO_CAPTION, r.box.caption)
            self.assertEqual('information', r.box.icon)
            self.assertEqual(harness.SUCCESS_TEXT, r.box.text)

    def test_a_failed_label_shows_its_message_on_hover_and_click(self):
        tips = self.start('test', 'close-box', 'tips').tips
        failed = [label for label in ITEM_LABELS[:-1] if tips[label]]
        passed = [label for label in ITEM_LABELS[:-1] if not tips[label]]
        if not failed or not passed:
            self.skipTest('this PC does not both pass and fail items')
        r = self.driver('attach', 'click-label', failed[0], 'click-label', passed[0],
                        'hover', failed[0], 'hover', passed[0], 'close', 'wait-exit')
        box = r.box_of(f'clickbox.{failed[0]}')
        self.assertEqual((harness.INFO_CAPTION, 'none', tips[failed[0]]),
                         (box.caption, box.icon, box.text))
        self.assertEqual('none', r[f'clickbox.{passed[0]}'])
        self.assertEqual(('1', tips[failed[0]]),
                         (r[f'hover.{failed[0]}.shown'], r[f'hover.{failed[0]}.text']))
        self.assertEqual('0', r[f'hover.{passed[0]}.shown'])


class ProtocolFileTest(harness.AnalyzerTestCase):

    def assert_line_order(self, text, labels):
        """Every label starts a line, in the given order; nothing follows the last line."""
        position = 0
        for label in labels:
            found = text.find('\r\n' + label, position)
            self.assertNotEqual(-1, found, f'no line {label!r} after offset {position}')
            position = found + 2
        self.assertTrue(text.endswith('\r\n'))
        self.assertNotIn('\r\n', text[position:-2], 'a line follows the last item line')

    def assert_crlf_only(self, data):
        self.assertFalse(data.startswith(b'\xef\xbb\xbf'), 'the protocol has a byte-order mark')
        self.assertEqual(data.count(b'\n'), data.count(b'\r\n'), 'a line ends with LF alone')
        self.assertEqual(data.count(b'\r'), data.count(b'\r\n'), 'a line ends with CR alone')

    def test_exchange_protocol_layout(self):
        started = datetime.datetime.now()
        r = self.run_test()
        finished = datetime.datetime.now()
        data = self.sandbox.protocol_bytes()
        text = data.decode(harness.PROGRAM_CODE_PAGE)  # strict: every byte is CP1250
        self.assertTrue(data.startswith('Tarnvik Analyzér 1.0 ŠTART TESTU - '.encode('cp1250')))
        self.assert_crlf_only(data)
        self.assert_protocol_header(text, started, finished)
        self.assert_line_order(text, EXCHANGE_PROTOCOL_LABELS)
        self.assertNotIn('Verzia Lotus Notes klienta: ', text)
        logon_result = r.fields[ids.IDC_EXCHANGE]
        self.assertNotEqual('', logon_result)
        self.assertNotIn(logon_result, text, 'the MS Exchange log-on result is in the protocol')

    def test_lotus_protocol_ends_with_the_notes_line(self):
        self.run_test(lotus=True)
        text = self.sandbox.protocol_text()
        self.assert_line_order(text, LOTUS_PROTOCOL_LABELS)
        self.assertNotIn('Verzia MS Outloook', text)

    def test_second_run_replaces_the_first(self):
        # A longer file of an earlier run must not leave a tail behind.
        self.sandbox.protocol_file.write_bytes(b'X' * 50000 + b'\r\n')
        first = self.start('test', 'box', 'close-box')
        first_text = self.sandbox.protocol_text()
        # The header has second precision: make the second run's header differ.
        between = datetime.datetime.now()
        second = self.driver('sleep', 1100, 'attach', 'test', 'box', 'close-box', 'close',
                             'wait-exit')
        finished = datetime.datetime.now()
        text = self.sandbox.protocol_text()
        self.assertNotIn('X' * 20, text)
        self.assertEqual(1, text.count('ŠTART TESTU'))
        self.assertLess(harness.protocol_stamp(first_text),
                        self.assert_protocol_header(text, between, finished))
        # Conflict numbers start at 1 again and the first run's entries are not repeated.
        self.assertEqual(first.box, second.box)
        self.assertEqual(0, second.exit_code)

    def test_note_names_the_file_and_shows_the_protocol(self):
        r = self.start('test', 'close-box', 'field', ids.IDC_PROTOCOL_NOTE,
                       'tip', ids.IDC_PROTOCOL_NOTE, 'link', ids.IDC_PROTOCOL_NOTE,
                       'click-label', ids.IDC_PROTOCOL_NOTE, 'hover', ids.IDC_PROTOCOL_NOTE,
                       'close', 'wait-exit')
        self.assertEqual(harness.PROTOCOL_NOTE_PREFIX + self.sandbox.protocol,
                         r.fields[ids.IDC_PROTOCOL_NOTE])
        self.assertEqual('0', r['tip.1043.registered'])
        self.assertEqual('0', r['hover.1043.shown'], 'the protocol note showed a tool tip')
        self.assertTrue(r.links[ids.IDC_PROTOCOL_NOTE], 'the note is not a red underlined link')
        box = r.box_of('clickbox.1043')
        self.assertEqual((harness.INFO_CAPTION, 'none'), (box.caption, box.icon))
        self.assertEqual(self.sandbox.protocol_text(), box.text)


class ProtocolCannotBeCreatedTest(harness.AnalyzerTestCase):

    def assert_error_exit(self, r):
        self.assertEqual((harness.ERROR_CAPTION, 'none', harness.PROTOCOL_ERROR_TEXT),
                         (r.box.caption, r.box.icon, r.box.text))
        self.assertEqual(-2, r.exit_code)
        # Only the one box: the summary box never came.
        self.assertEqual(1, len(r.all('box.caption')))

    def test_a_folder_in_place_of_the_file(self):
        self.sandbox.protocol_file.mkdir()
        r = self.start('test', 'box', 'close-box', 'wait-exit')
        self.assert_error_exit(r)
        self.assertTrue(self.sandbox.protocol_file.is_dir())

    def test_the_file_held_open_by_another_program(self):
        previous = 'Tarnvik Analyzér 1.0 ŠTART TESTU - 1.1.2020 00:00:00\r\n'.encode('cp1250')
        self.sandbox.protocol_file.write_bytes(previous)
        r = self.start('hold', self.sandbox.protocol, 'test', 'box', 'close-box', 'wait-exit')
        self.assert_error_exit(r)
        self.assertEqual(previous, self.sandbox.protocol_bytes(),
                         'the previous run\'s file must stay as it was')


class HarnessTest(unittest.TestCase):
    """The driver's escaping survives the way back (no program needed)."""

    def test_unescape_reverses_the_driver_escapes(self):
        self.assertEqual('a\r\nb\\rc\td\x01é', harness.unescape(r'a\r\nb\\rc\td\x01é'))

    def test_windows_path_of_a_unix_path(self):
        self.assertEqual('Z:\\no-such-dir\\a b\\c.exe',
                         harness.windows_path('/no-such-dir/a b/c.exe'))

    def test_result_keeps_every_value_and_answers_the_last(self):
        r = harness.DriverResult(['x'], 0, 'box.caption=A\nbox.caption=B\nfield.1001=\\\\x\n'
                                 'done=1\n', '')
        self.assertEqual(['A', 'B'], r.all('box.caption'))
        self.assertEqual('B', r['box.caption'])
        self.assertEqual({1001: '\\x'}, r.fields)
        self.assertTrue(r.ok)
        self.assertRaises(KeyError, r.__getitem__, 'exit')


if __name__ == '__main__':
    unittest.main()
