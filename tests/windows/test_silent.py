"""The unattended mode as deployment engines start it: many runs' rows in one CSV file, the
protocol where /protocol says, exit codes; and the dialog's runs adding their rows too."""

import os
import re
import resource
import signal
import subprocess
import time

import harness

ISO_TIME = re.compile(r'\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d$')


class SilentTest(harness.Case):
    def silent(self, *arguments):
        return ['wine', str(self.exe), '/silent', *map(str, arguments)]

    def test_runs_started_at_once_add_one_whole_row_each_as_the_dialog_shows_also_on_xp(self):
        table = self.folder / 'pcs.csv'
        protocols = [self.folder / f'pc{n}.txt' for n in range(8)]
        runs = [
            subprocess.Popen(
                self.silent(
                    '/protocol', harness.windows_path(protocol), '/csv', harness.windows_path(table)
                ),
                stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
            )
            for protocol in protocols
        ]
        self.assertEqual([1] * 8, [run.wait(timeout=300) for run in runs])  # Wine's domain fails
        for protocol in protocols:
            self.assertTrue(
                protocol.read_text(encoding='cp1250').startswith('Tarnvik Analyzér 1.0 ŠTART')
            )
        rows = harness.rows(table)
        self.assertEqual(8, len(rows))
        computer = rows[0]['computer']
        self.assertRegex(computer, r'^\S+$')
        for row in rows:
            self.assertNotIn(None, row)  # as many cells as the header names
            self.assertNotIn(None, row.values())
            self.assertEqual(computer, row['computer'])
            self.assertRegex(row['time'], ISO_TIME)

        # The dialog with the same switches shows what the rows hold, and adds its own.
        shown = self.start(
            'test', 'state', 'close', arguments=f'/csv "{harness.windows_path(table)}"'
        )
        cells = harness.rows(table)[-1]
        self.assertEqual('exchange', cells['type'])
        self.assertEqual(rows[0]['conflicts'], cells['conflicts'])
        verdicts = {'tick': '1', 'cross': '0'}
        for key in (name[: -len('.visible')] for name in shown if name.endswith('.visible')):
            with self.subTest(key):
                if key != 'cpu':  # its measured clock differs from run to run
                    self.assertEqual(shown.get(key + '.field', ''), cells[key])
                self.assertEqual(verdicts.get(shown.get(key + '.image'), ''), cells[key + '_ok'])

    def test_exit_codes_and_a_file_held_by_another_writer(self):
        self.assertEqual(2, subprocess.run(self.silent('/bogus'), timeout=60).returncode)
        self.assertFalse(self.protocol_file.exists())  # nothing ran
        self.assertEqual(
            3, subprocess.run(self.silent('/csv', 'Z:\\nowhere\\pcs.csv'), timeout=300).returncode
        )
        # Wine's runs are elevated, and it shows a Unix symbolic link as a reparse point: nothing
        # is written through one.
        (self.folder / 'real').mkdir()
        (self.folder / 'via').symlink_to(self.folder / 'real')
        via = harness.windows_path(self.folder / 'via')
        for switch, code in (('/csv', 3), ('/protocol', 254)):  # 254: -2
            run = subprocess.run(self.silent(switch, via + '\\x'), timeout=300)
            self.assertEqual(code, run.returncode)
        self.assertEqual([], list((self.folder / 'real').iterdir()))
        usage = self.start('read', arguments='/lotus /lotus')
        self.assert_shows({'box.caption': 'Tarnvik Analyzér 1.0', 'exit': '2'}, usage)
        self.assertTrue(usage['box.text'].startswith('"/lotus" is given twice.\r\n\r\nUsage: '))
        # A file another writer holds open is waited for.
        table = self.folder / 'pcs.csv'
        holder = subprocess.Popen(
            [
                'wine',
                harness.BUILD / 'tests' / 'uidriver.exe',
                'hold',
                harness.windows_path(table),
                'wait',
                '8000',
            ],
            stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        self.addCleanup(holder.wait)
        while not table.exists():
            time.sleep(0.1)
        started = time.monotonic()
        self.assertEqual(
            1,
            subprocess.run(
                self.silent('/csv', harness.windows_path(table)), timeout=300
            ).returncode,
        )
        self.assertGreater(time.monotonic() - started, 6)
        self.assertEqual(1, len(harness.rows(table)))

    def test_the_row_is_written_whole_or_not_at_all(self):
        # The row is the PC's even where the protocol cannot be written.
        table = self.folder / 'pcs.csv'
        self.protocol_file.mkdir()
        run = subprocess.run(self.silent('/csv', harness.windows_path(table)), timeout=300)
        self.assertEqual((254, 1), (run.returncode, len(harness.rows(table))))  # 254: -2
        self.protocol_file.rmdir()
        # A row that does not fit is cut back off, so no half row is left for the next writer.
        before = table.read_bytes()

        def no_room_for_the_row():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (len(before) + 50,) * 2)

        subprocess.run(
            self.silent('/csv', harness.windows_path(table)),
            preexec_fn=no_room_for_the_row,
            timeout=300,
        )
        self.assertEqual(before, table.read_bytes())
        # Through a second hard link the row would land in another file.
        os.link(table, self.folder / 'linked.csv')
        run = subprocess.run(
            self.silent('/csv', harness.windows_path(self.folder / 'linked.csv')), timeout=300
        )
        self.assertEqual((3, before), (run.returncode, table.read_bytes()))
