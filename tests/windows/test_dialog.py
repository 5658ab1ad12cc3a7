"""The dialog on the Wine PC as a user sees it: start state, runs, the protocol file, a dead
network, closing during a run."""

import datetime
import os
import re
import resource
import signal
import subprocess

import harness
import servers

TRACE = r'HKLM\Software\Devadozededa'
HEADER = re.compile(
    r'Tarnvik Analyzér 1\.0 ŠTART TESTU - ([1-9]\d?)\.([1-9]\d?)\.(\d{4}) '
    r'(\d\d):(\d\d):(\d\d)\r\n-{77}\r\n\r\n'
)
PREVIOUS = 'Tarnvik Analyzér 1.0 ŠTART TESTU - 1.1.2020 00:00:00\r\n'.encode('cp1250')


class DialogTest(harness.Case):
    def assert_run(self, shown, started):
        """A tick with a plain label or a cross with a link for each shown item, the crosses
        listed in the box, and the protocol of this run, named in the note."""
        crosses = 0
        for key in (
            name[: -len('.image')] for name, image in shown.items() if image in ('tick', 'cross')
        ):
            crosses += shown[key + '.image'] == 'cross'
            self.assertEqual(
                '1' if shown[key + '.image'] == 'cross' else '0', shown[key + '.link'], key
            )
        self.assert_shows({'box.caption': 'Upozornenie'}, shown)
        self.assertEqual(crosses, len(re.findall(r'\r\n\d+\)  ', shown['box.text'])))
        day, month, year, *time = map(
            int, HEADER.match(self.protocol_file.read_bytes().decode('cp1250')).groups()
        )
        stamp = datetime.datetime(year, month, day, *time)
        self.assertTrue(started.replace(microsecond=0) <= stamp <= datetime.datetime.now(), stamp)
        self.assertTrue(shown['note'].endswith(':\r\n' + harness.windows_path(self.protocol_file)))
        self.assertEqual('1', shown['note.link'])

    def test_start_state_and_runs(self):
        self.register_outlook('outllib-10.0.2627.dll')
        self.reg_add(TRACE, 'Root', 'REG_SZ', r'C:\Tarnvik', remove=TRACE)
        first = self.start('state')
        self.assert_shows(
            {
                'checked': 'exchange',
                'outlook.visible': '1',
                'exchange.visible': '1',
                'lotus.visible': '0',
            },
            first,
        )
        self.assertEqual(
            {'', 'none', 'hidden'},
            {v for k, v in first.items() if k.endswith(('.field', '.image'))},
        )
        lotus = harness.driver('attach', 'lotus', 'state', 'exchange')
        self.assert_shows(
            {
                'checked': 'lotus',
                'outlook.visible': '0',
                'exchange.visible': '0',
                'lotus.visible': '1',
            },
            lotus,
        )

        started = datetime.datetime.now()
        run = harness.driver('attach', 'test', 'state')
        self.assert_shows(
            {'install.image': 'cross', 'os.image': 'tick', 'domain.image': 'cross'}, run
        )
        # Wine's default version, read from the extended version record: its product type too.
        self.assertEqual('Microsoft Windows 7 Service Pack 1 (Build 7601)', run['os.field'])
        self.assert_run(run, started)
        click = harness.driver('attach', 'click', 'install')
        self.assert_shows({'clickbox.caption': 'Informácie'}, click)
        self.assertIn(')  ' + click['clickbox.text'] + '\r\n', run['box.text'])

        harness.wine(
            'reg', 'delete', TRACE, '/f', '/reg:64'
        )  # mended: the second run passes the item
        started = datetime.datetime.now()
        again = harness.driver('attach', 'test', 'state')
        self.assert_shows({'install.image': 'tick', 'install.link': '0'}, again)
        self.assert_run(again, started)
        self.assert_shows({'exit': '0'}, harness.driver('attach', 'close'))

    def test_the_protocol_replaces_a_link_or_ends_the_program_when_not_created(self):
        other = self.folder / 'other.txt'
        other.write_bytes(b'kept')
        os.link(other, self.protocol_file)
        self.start('test', 'close')
        self.assertEqual(b'kept', other.read_bytes())
        self.assertTrue(HEADER.match(self.protocol_file.read_bytes().decode('cp1250')))
        other.unlink()
        self.protocol_file.write_bytes(PREVIOUS)
        held = self.start('hold', harness.windows_path(self.protocol_file), 'test')
        self.assertEqual(PREVIOUS, self.protocol_file.read_bytes())
        self.assertEqual({self.exe, self.protocol_file}, set(self.folder.iterdir()))  # nothing left
        self.protocol_file.unlink()
        self.protocol_file.mkdir()
        for name, shown in (('held open', held), ('a folder', self.start('test'))):
            with self.subTest(name):
                text = 'Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.'
                self.assert_shows(
                    {'box.caption': 'Chyba aplikácie', 'box.text': text, 'exit': '-2'}, shown
                )

    def test_a_protocol_that_cannot_be_written_whole_keeps_the_old_one(self):
        def small_files():  # the file size limit fails the write after the file was made
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (200, 200))

        self.protocol_file.write_bytes(PREVIOUS)
        silent = subprocess.run(['wine', self.exe, '/silent'], preexec_fn=small_files, timeout=300)
        self.assertEqual(254, silent.returncode)  # -2
        self.assertEqual({self.exe, self.protocol_file}, set(self.folder.iterdir()))
        self.assertEqual(PREVIOUS, self.protocol_file.read_bytes())

    def test_a_dead_network_neither_freezes_the_dialog_nor_keeps_it_open(self):
        proxy = servers.Server(servers.Silent)
        self.addCleanup(proxy.stop)
        self.use_proxy(proxy.port)
        run = self.start('watch', 'state')
        self.assertLessEqual(int(run['watch.longest']), 1000)
        self.assertLessEqual(int(run['watch.image']), 5000)
        self.assertLessEqual(int(run['watch.box']), 75000)  # both requests wait at once
        self.assert_shows({'http.image': 'cross', 'https.image': 'cross'}, run)

        earlier = self.protocol_file.read_bytes()
        during = harness.driver('attach', 'press', 'wait', '3000', 'state')
        self.assert_shows(
            {'testable': '0', 'enabled': '1'}, during
        )  # "Test !" waits, the dialog answers
        shut = harness.driver('attach', 'shut')
        self.assertLessEqual(int(shut['shut.ms']), 2000)
        self.assertEqual('0', shut['exit'])
        self.assertEqual(earlier, self.protocol_file.read_bytes())
