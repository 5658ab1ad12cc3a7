"""The unattended mode as deployment engines start it, and the CSV file it shares with the dialog."""

import os
import time

import harness


class SilentTest(harness.Case):
    def test_runs_started_at_once_add_one_whole_row_each_as_the_dialog_shows_also_on_xp(self):
        table = self.folder / 'pcs.csv'
        protocols = [self.folder / f'pc{n}.txt' for n in range(8)]
        runs = [
            harness.start_wine(self.exe, '/silent', '/protocol', protocol, '/csv', table)
            for protocol in protocols
        ]
        self.assertEqual([1] * 8, [run.wait(timeout=300) for run in runs])  # Wine's domain fails
        for protocol in protocols:
            self.assertTrue(protocol.read_bytes().startswith(b'Tarnvik Analyz'))
        rows = harness.rows(table)
        self.assertEqual(8, len(rows))
        computer = rows[0]['computer']
        self.assertRegex(computer, r'^\S+$')
        for row in rows:
            self.assertNotIn(None, row)  # as many cells as the header names
            self.assertNotIn(None, row.values())
            self.assertEqual(computer, row['computer'])

        # The dialog with the same switches shows what the rows hold, and adds its own.
        shown = self.start(
            'test', 'state', 'close', arguments=f'/csv "{harness.windows_path(table)}"'
        )
        cells = harness.rows(table)[-1]
        self.assertEqual(rows[0]['conflicts'], cells['conflicts'])
        verdicts = {'tick': '1', 'cross': '0'}
        for key in (name[: -len('.visible')] for name in shown if name.endswith('.visible')):
            with self.subTest(key):
                if key != 'cpu':  # its measured clock differs from run to run
                    self.assertEqual(shown.get(key + '.field', ''), cells[key])
                self.assertEqual(verdicts.get(shown.get(key + '.image'), ''), cells[key + '_ok'])

    def test_exit_codes_and_a_file_held_by_another_writer(self):
        self.assertEqual(2, self.run_exe('/silent', '/bogus'))
        self.assertFalse(self.protocol_file.exists())  # nothing ran
        # Wine's runs are elevated, and it shows a Unix symbolic link as a reparse point: nothing
        # is written through one.
        (self.folder / 'real').mkdir()
        (self.folder / 'via').symlink_to(self.folder / 'real')
        for switch, code in (('/csv', 3), ('/protocol', 254)):  # 254: -2
            self.assertEqual(code, self.run_exe('/silent', switch, self.folder / 'via' / 'x'))
        self.assertEqual([], list((self.folder / 'real').iterdir()))
        usage = self.start('read', arguments='/lotus /lotus')
        self.assert_shows({'box.caption': 'Tarnvik Analyzér 1.0', 'exit': '2'}, usage)
        self.assertTrue(usage['box.text'].startswith('"/lotus" is given twice.\r\n\r\nUsage: '))
        # A file another writer holds open is waited for.
        table = self.folder / 'pcs.csv'
        holder = harness.start_wine(harness.UIDRIVER, 'hold', table, 'wait', '8000')
        self.addCleanup(holder.wait)
        while not table.exists():
            time.sleep(0.1)
        started = time.monotonic()
        self.assertEqual(1, self.run_exe('/silent', '/csv', table))
        self.assertGreater(time.monotonic() - started, 6)
        self.assertEqual(1, len(harness.rows(table)))

    def test_the_row_is_written_whole_or_not_at_all(self):
        # The row is the PC's even where the protocol cannot be written.
        table = self.folder / 'pcs.csv'
        self.protocol_file.mkdir()
        code = self.run_exe('/silent', '/csv', table)
        self.assertEqual((254, 1), (code, len(harness.rows(table))))  # 254: -2
        self.protocol_file.rmdir()
        # A row that does not fit is cut back off, so no half row is left for the next writer.
        before = table.read_bytes()
        small = harness.limit_file_size(len(before) + 50)
        self.run_exe('/silent', '/csv', table, preexec_fn=small)
        self.assertEqual(before, table.read_bytes())
        # Through a second hard link the row would land in another file.
        os.link(table, self.folder / 'linked.csv')
        code = self.run_exe('/silent', '/csv', self.folder / 'linked.csv')
        self.assertEqual((3, before), (code, table.read_bytes()))
