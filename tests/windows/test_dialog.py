"""The dialog on the Wine PC as a user sees it: start state, runs, the protocol file."""

import datetime
import os
import re

import harness
import servers
from harness import items

TRACE = r'HKLM\Software\Devadozededa'
HEADER = re.compile(r'Tarnvik Analyzér 1\.0 ŠTART TESTU - ([1-9]\d?)\.([1-9]\d?)\.(\d{4}) '
                    r'(\d\d):(\d\d):(\d\d)\r\n-{77}\r\n\r\n')


def shown_keys(r):  # the items whose rows the dialog shows, in run order
    return [name[:-8] for name, value in r.items() if name.endswith('.visible') and value == '1']


class DialogTest(harness.Case):

    def assert_run(self, r, started):
        """Failed items are marked alike and listed in order; the protocol holds this run only."""
        failed = []
        for key in (key for key in shown_keys(r) if key + '.image' in r):
            message = items()[key + '.message']
            marks = (r[key + '.image'], r[key + '.link'])
            self.assertIn(marks, [('tick', '0'), ('cross', '1')], key)
            failed += [message] if marks[0] == 'cross' else []
        self.assert_shows({'box.caption': 'Upozornenie', 'box.icon': 'shown', 'box.text':
                           'Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n' +
                           ''.join(f'\r\n{n})  {m}' for n, m in enumerate(failed, 1))}, r)
        data = self.protocol_file.read_bytes()
        self.assertEqual((data.count(b'\r\n'),) * 2, (data.count(b'\r'), data.count(b'\n')))
        text = data.decode('cp1250')
        header = HEADER.match(text)
        day, month, year, *time = map(int, header.groups())
        stamp = datetime.datetime(year, month, day, *time)
        self.assertTrue(started.replace(microsecond=0) <= stamp <= datetime.datetime.now(), stamp)
        self.assert_shows({'note.link': '1', 'note': 'Protokol s výsledkom testovania je uložený v súbori:'
                           '\r\n' + harness.windows_path(self.protocol_file)}, r)

    def test_start_state_and_runs(self):
        # With Outlook registered no class look-up falls back to the 32-bit view, where Wine's
        # registry code leaves a handle open for each.
        self.register_outlook('outllib-10.0.2627.dll')
        self.reg_add(TRACE, 'Root', 'REG_SZ', r'C:\Tarnvik', remove=TRACE)
        first = self.start('state')
        lotus = harness.driver('attach', 'lotus', 'state', 'exchange')
        for r, shown, hidden in ((first, 'exchange', 'lotus'), (lotus, 'lotus', 'exchange')):
            self.assert_shows({'checked': shown, 'outlook.visible': hidden == 'lotus' and '1' or '0',
                               shown + '.visible': '1', hidden + '.visible': '0'}, r)
        self.assertEqual({'', 'none', 'hidden'}, {v for k, v in first.items() if k.endswith(('.field', '.image'))})

        started = datetime.datetime.now()
        r = harness.driver('attach', 'test', 'state', 'handles')
        self.assert_shows({'install.image': 'cross', 'os.image': 'tick', 'domain.image': 'cross'}, r)
        self.assert_run(r, started)
        self.assert_shows({'clickbox.caption': 'Informácie', 'clickbox.text': items()['install.message'],
                           'clickbox.icon': 'none'}, harness.driver('attach', 'click', 'install'))

        harness.wine('reg', 'delete', TRACE, '/f')  # mended: the second run passes the item
        started = datetime.datetime.now()
        again = harness.driver('attach', 'test', 'state')
        self.assert_shows({'install.image': 'tick', 'install.link': '0'}, again)
        self.assert_run(again, started)
        last = harness.driver('attach', 'test', 'test', 'handles', 'close')
        self.assert_shows({'handles': r['handles'], 'exit': '0'}, last)

    def test_protocol_that_cannot_be_created_ends_the_program(self):
        previous = 'Tarnvik Analyzér 1.0 ŠTART TESTU - 1.1.2020 00:00:00\r\n'.encode('cp1250')
        self.protocol_file.write_bytes(previous)
        held = self.start('hold', harness.windows_path(self.protocol_file), 'test')
        self.assertEqual(previous, self.protocol_file.read_bytes())
        self.assertEqual({self.exe, self.protocol_file}, set(self.folder.iterdir()))  # nothing left
        self.protocol_file.unlink()
        self.protocol_file.mkdir()
        for case, r in (('held open', held), ('a folder', self.start('test'))):
            with self.subTest(case):
                self.assert_shows({'box.caption': 'Chyba aplikácie', 'box.icon': 'none', 'exit': '-2',
                                   'box.text': 'Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.'}, r)

    def test_a_dead_network_neither_freezes_the_dialog_nor_keeps_it_open(self):
        proxy = servers.Server(servers.Silent)
        self.addCleanup(proxy.stop)
        self.reg_add(harness.INTERNET_SETTINGS, 'ProxyServer', 'REG_SZ', f'127.0.0.1:{proxy.port}')
        self.reg_add(harness.INTERNET_SETTINGS, 'ProxyEnable', 'REG_DWORD', '1')
        run = self.start('watch', 'state')
        self.assertLessEqual(int(run['watch.longest']), 1000)
        self.assertLessEqual(int(run['watch.image']), 5000)
        self.assertLessEqual(int(run['watch.box']), 75000)  # both requests wait at once
        self.assert_shows({'watch.busy': '1', 'http.image': 'cross', 'https.image': 'cross'}, run)

        earlier = self.protocol_file.read_bytes()
        shut = harness.driver('attach', 'press', 'wait', '3000', 'shut')
        self.assertLessEqual(int(shut['shut.ms']), 2000)
        self.assertEqual('0', shut['exit'])
        self.assertEqual(earlier, self.protocol_file.read_bytes())

    def test_protocol_replaces_a_link_at_its_name(self):
        other = self.folder / 'other.txt'
        other.write_bytes(b'kept')
        os.link(other, self.protocol_file)
        self.start('test', 'close')
        self.assertEqual(b'kept', other.read_bytes())
        self.assertTrue(HEADER.match(self.protocol_file.read_bytes().decode('cp1250')))
