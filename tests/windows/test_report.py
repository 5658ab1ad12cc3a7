"""Silent runs of several PCs into a drop folder, and /report over it and an older shared file."""

import html.parser

import harness

NAME_KEY = r'HKLM\System\CurrentControlSet\Control\ComputerName\ActiveComputerName'
# An older version's header.
OLD_CSV = (
    '\ufeffcomputer;user;time;type;conflicts;https;https_ok;gone\r\n'
    'PC-C;later;2099-01-01T08:00:00-05:00;lotus;0;OK;1;x\r\n'
    'PC-X;<script>x</script>;2026-01-01T08:00:00+01:00;exchange;1;"""&=1";0;x\r\n'
)


class Page(html.parser.HTMLParser):
    def __init__(self, text):
        super().__init__()
        self.tables, self.cell = [], None
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        if tag == 'table':
            self.tables.append([])
        elif tag == 'tr':
            self.tables[-1].append([])
        elif tag in ('td', 'th'):
            self.cell = self.tables[-1][-1]
            self.cell.append('')

    def handle_endtag(self, tag):
        self.cell = None if tag == 'table' else self.cell

    def handle_data(self, data):
        if self.cell is not None:
            self.cell[-1] += data


class ReportTest(harness.Case):
    def test_silent_runs_into_a_drop_folder_and_the_report_over_it(self):
        drop, old, page, merged = (self.folder / n for n in ('drop', 'o.csv', 'p.html', 'm.csv'))
        drop.mkdir()
        old.write_bytes(OLD_CSV.encode())
        (drop / 'notes.csv').write_bytes(b'\x00\x01 not a table')
        self.reg_add(NAME_KEY, 'ComputerName', 'REG_SZ', 'PC-A')
        for n, name in enumerate(['PC-A', 'PC-B', 'PC-C', 'PC-A']):
            harness.wine('reg', 'add', NAME_KEY, '/v', 'ComputerName', '/d', name, '/f')
            kind = '/lotus' if n % 3 == 0 else '/exchange'
            folder = harness.windows_path(drop) + '\\'
            self.assertEqual(1, self.run_exe('/silent', kind, '/csv', folder))  # no domain
        self.assertEqual(4, len(list(drop.iterdir())))  # a rerun replaces its PC's file
        self.assertEqual(4, self.run_exe('/report', drop / 'notes.csv', '/html', page))
        self.assertFalse(page.exists())

        self.assertEqual(0, self.run_exe('/report', drop, old, '/html', page, '/csv', merged))
        rows = harness.rows(merged)
        computers = {f.stem for f in drop.glob('PC-*')} | {'PC-X'}
        self.assertEqual(computers, {row['computer'] for row in rows})

        markup = page.read_text(encoding='utf-8')
        self.assertNotIn('<script', markup)
        shown = Page(markup)
        glance, bars, not_ready, unread = shown.tables
        ready = [r for r in rows if r['conflicts'] == '0']
        counts = [
            [
                str(sum(kind in ('', r['type']) for r in chosen))
                for kind in ('', 'exchange', 'lotus')
            ]
            for chosen in (rows, ready, [r for r in rows if r not in ready])
        ]
        self.assertEqual(counts, [row[1:] for row in glance[1:]])
        self.assertEqual(len(rows) - len(ready), len(not_ready) - 1)
        pc_x = ['PC-X', '<script>x</script>', '2026-01-01T08:00:00+01:00', '1']
        self.assertIn(pc_x + ['Test protokolu HTTPS/SSL "&=1'], not_ready)
        self.assertEqual(2, len(unread))  # its head and notes.csv
