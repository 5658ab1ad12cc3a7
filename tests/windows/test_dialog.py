"""The dialog on the Wine PC as a user sees it, and the protocol file it writes."""

import datetime
import os
import re

import harness
import servers

TRACE = r'HKLM\Software\Devadozededa'
STAMP = re.compile(r'ŠTART TESTU - (\d+)\.(\d+)\.(\d+) (\d+):(\d+):(\d+)\r\n')
PREVIOUS = b'an earlier protocol\r\n'


class DialogTest(harness.Case):
    def assert_run(self, shown, started):
        """A tick with a plain label or a cross with a link for each shown item, the crosses
        listed in the box, and the protocol of this run, named in the note."""
        crossed = {k[:-6]: v == 'cross' for k, v in shown.items() if v in ('tick', 'cross')}
        self.assertEqual(
            {k: str(int(v)) for k, v in crossed.items()}, {k: shown[k + '.link'] for k in crossed}
        )
        self.assertEqual(sum(crossed.values()), len(re.findall(r'\r\n\d+\)  ', shown['box.text'])))
        day, month, year, *time = map(
            int, STAMP.search(self.protocol_file.read_bytes().decode('cp1250')).groups()
        )
        stamp = datetime.datetime(year, month, day, *time)
        self.assertTrue(started.replace(microsecond=0) <= stamp <= datetime.datetime.now(), stamp)
        self.assertTrue(shown['note'].endswith(':\r\n' + harness.windows_path(self.protocol_file)))
        self.assertEqual('1', shown['note.link'])

    def test_start_state_and_runs_also_on_xp(self):
        self.register_outlook('outllib-10.0.2627.dll')
        self.reg_add(TRACE, 'Root', 'REG_SZ', r'C:\Tarnvik', remove=TRACE)
        first = self.start('state', 'layout')
        self.assert_shows(
            {'checked': 'exchange', 'exchange.visible': '1', 'lotus.visible': '0'},
            first,
        )
        self.assertEqual(
            {'', 'none', 'hidden'},
            {v for k, v in first.items() if k.endswith(('.field', '.image'))},
        )
        lotus = harness.driver('attach', 'lotus', 'state', 'layout', 'exchange')
        for shown in (first, lotus):  # nothing overlaps, the tab key goes down the dialog
            self.assert_shows(
                {'layout.overlaps': '', 'layout.order': '', 'layout.labels': ''}, shown
            )
        self.assert_shows(
            {'checked': 'lotus', 'exchange.visible': '0', 'lotus.visible': '1'},
            lotus,
        )

        started = datetime.datetime.now()
        run = harness.driver('attach', 'test', 'state', 'handles')
        self.assert_shows({'install.image': 'cross', 'testable': '1'}, run)
        # The version Wine reports, read from the extended version record: its product type too.
        os_text = {
            'win7': 'Microsoft Windows 7 Service Pack 1 (Build 7601)',
            'winxp': 'Microsoft Windows XP Professional Service Pack 3 (Build 2600)',
        }
        self.assertEqual(os_text[harness.WINDOWS], run['os.field'])
        self.assert_run(run, started)
        click = harness.driver('attach', 'click', 'install')['clickbox.text']
        self.assertIn(')  ' + click + '\r\n', run['box.text'])

        harness.reg('delete', TRACE, '/f')  # mended: the second run passes the item
        started = datetime.datetime.now()
        again = harness.driver('attach', 'test', 'state')
        self.assert_shows({'install.image': 'tick', 'install.link': '0'}, again)
        self.assert_run(again, started)
        # Runs leave no handle open behind them.
        last = harness.driver('attach', 'test', 'test', 'handles', 'close')
        self.assert_shows({'handles': run['handles'], 'exit': '0'}, last)

    def test_the_protocol_replaces_a_link_or_ends_the_program_when_not_created(self):
        other = self.folder / 'other.txt'
        other.write_bytes(b'kept')
        os.link(other, self.protocol_file)
        self.start('test', 'close')
        self.assertEqual(b'kept', other.read_bytes())
        self.assertTrue(STAMP.search(self.protocol_file.read_bytes().decode('cp1250')))
        other.unlink()
        self.protocol_file.write_bytes(PREVIOUS)
        held = self.start('hold', self.protocol_file, 'test')
        self.assertEqual(PREVIOUS, self.protocol_file.read_bytes())
        self.assertEqual({self.exe, self.protocol_file}, set(self.folder.iterdir()))  # nothing left
        text = 'Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.'
        self.assert_shows({'box.caption': 'Chyba aplikácie', 'box.text': text, 'exit': '-2'}, held)

    def test_a_protocol_that_cannot_be_written_whole_keeps_the_old_one(self):
        self.protocol_file.write_bytes(PREVIOUS)
        small = harness.limit_file_size(200)  # fails the write after the file was made
        self.assertEqual(254, self.run_exe('/silent', preexec_fn=small))  # -2
        self.assertEqual({self.exe, self.protocol_file}, set(self.folder.iterdir()))
        self.assertEqual(PREVIOUS, self.protocol_file.read_bytes())

    def test_a_dead_network_neither_freezes_the_dialog_nor_keeps_it_open(self):
        proxy = servers.Server(servers.Stalling)
        self.addCleanup(proxy.stop)
        self.use_proxy(proxy.port)
        run = self.start('test', 'state')
        self.assertLessEqual(int(run['watch.longest']), 1000)
        # What needs no network shows at once; both requests wait at the same time.
        shown = {
            k[6:]: int(v)
            for k, v in run.items()
            if k.startswith('watch.') and k[6:] + '.image' in run
        }
        local = {k: v for k, v in shown.items() if k not in ('http', 'https')}
        self.assertLessEqual(max(local.values()), 2000, local)
        self.assertEqual(12, len(shown))  # every item of MS Exchange that has an image
        # Both requests end together at their deadline (90 s), which reads as a time-out.
        self.assertLessEqual(int(run['watch.box']), 100000)
        timed_out = 'The request has timed out. '
        self.assert_shows({'http.field': timed_out, 'https.field': timed_out}, run)

        earlier = self.protocol_file.read_bytes()
        during = harness.driver('attach', 'press', 'wait', '3000', 'state')
        # "Test !" waits, the dialog answers, the network's fields count the seconds.
        self.assert_shows({'testable': '0', 'enabled': '1'}, during)
        self.assertRegex(during['https.field'], r'^… [234] s$')
        shut = harness.driver('attach', 'shut')
        self.assertLessEqual(int(shut['shut.ms']), 1000)
        self.assertEqual('0', shut['exit'])
        self.assertEqual(earlier, self.protocol_file.read_bytes())
        self.assertEqual({self.exe, self.protocol_file}, set(self.folder.iterdir()))
