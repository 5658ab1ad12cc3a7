"""Items on a Wine PC set up with stock tools, fixture libraries standing in for mail clients and
loopback servers for the network; libraries planted where users may write never run."""

import os
import struct
from hashlib import sha1

import harness
import servers

HOST = harness.SERVICE_HOST
NOTES = r'HKLM\SOFTWARE\Lotus\Notes'
MAIL = r'HKLM\Software\Clients\Mail'


class ItemsTest(harness.Case):
    def test_registry_views_services_and_zones(self):
        # A trace only in the other registry view, its root the 8000 bytes it may have with its
        # closing zero; services past the manager's first record; a forbidden Internet zone setting.
        trace = r'HKLM\Software\Devadozededa'
        self.reg_add(trace, 'Root', 'REG_SZ', 'x' * 7999, view=harness.OTHER_VIEW, remove=trace)
        for name in ('w3proxy', 'MSExchangeIS', 'lotus domino server (x)'):
            harness.wine('sc', 'create', name, 'binpath=', r'C:\windows\system32\notepad.exe')
            self.addCleanup(harness.wine, 'sc', 'delete', name)
        self.reg_add(harness.INTERNET_SETTINGS + r'\Zones\3', '1001', 'REG_DWORD', '3')
        # Libraries planted beside the exe, which Wine told to prefer native copies would load.
        # (Not version.dll: Wine's own advapi32 imports it before the program starts.)
        for name in ('winmm', 'wininet', 'mapi32'):
            self.copy_fixture('planted.dll', self.folder, name + '.dll')
            self.reg_add(r'HKCU\Software\Wine\DllOverrides', name, 'REG_SZ', 'native,builtin')
        self.assert_shows(
            {
                'install.field': 'Tarnvik už je alebo bol niekedy nainštalovaný.',
                'services.field': 'MS Exchange, ISA Server, Lotus Domino Server',
                'activex.image': 'cross',
            },
            self.start('test', 'state'),
        )
        # The service host in Trusted sites: its zone, not the Internet zone, is read.
        trusted = rf'{harness.INTERNET_SETTINGS}\ZoneMap\Domains\{HOST}'
        self.reg_add(trusted, 'https', 'REG_DWORD', '2', remove=trusted)
        harness.reg(
            'add', trace, '/v', 'Root', '/d', 'x' * 8000, '/f', view=harness.OTHER_VIEW
        )  # one byte too long
        self.assert_shows(
            {'activex.field': 'OK', 'install.image': 'tick'},
            harness.driver('attach', 'test', 'state', 'close'),
        )
        self.assertEqual([], list(self.folder.glob('*.loaded')))

    def test_outlook_versions_and_mapi_logon(self):
        # Wine's MAPI hands the log-on to the registered mail client's, which imports a library
        # beside it: a run that is not elevated loads it, an elevated one refuses the user's file.
        mail = self.folder / 'mail'
        self.copy_fixture('mapiprovider.dll', mail, 'mapiex.dll')
        self.copy_fixture('mapihelper.dll', mail, 'mapihelper.dll')
        self.reg_add(MAIL, '', 'REG_SZ', 'Tarnvik Test Mail')
        client = MAIL + r'\Tarnvik Test Mail'
        self.reg_add(client, 'DLLPathEx', 'REG_SZ', mail / 'mapiex.dll', remove=client)
        self.register_outlook('outllib-10.0.2627.dll')
        self.assert_shows(
            {
                'outlook.field': 'MS Outlook 10.0.2627',
                'exchange.field': 'OK',
                'enabled': '1',
                'focus': '1',
            },
            self.start('test', 'state', 'close', limited=True),
        )
        (mail / 'mapiex.dll.logoff').unlink()  # proves it was loaded
        # Silent too: MAPI answers only a thread that initialised it, and every call is made there.
        table = self.folder / 'pcs.csv'
        silent = f'/silent /csv "{harness.windows_path(table)}"'
        harness.driver('limited', 'run', self.exe, silent)
        self.assertEqual('OK', harness.rows(table)[-1]['exchange'])
        (mail / 'mapiex.dll.logoff').unlink()
        refused = "Failed to initialize MAPI (the mail client's %s may be changed by users)."
        refused %= harness.windows_path(mail / 'mapiex.dll')
        self.assertEqual(refused, self.start('test', 'state')['exchange.field'])
        self.assertFalse((mail / 'mapiex.dll.logoff').exists())
        # Its version export answers 9.0.4527, its version resource 9.0.0.4527. Wine makes the user
        # the owner of every file: the elevated run reads the library as data, never asks its export.
        outlook = self.folder / 'outlook'
        self.copy_fixture('dllversion-9.0.4527.dll', outlook, 'OUTLLIB.DLL')
        outlook.chmod(0o755)
        self.assert_shows(
            {'outlook.field': 'MS Outlook 9.0.0'}, harness.driver('attach', 'test', 'state')
        )
        # An MS Outlook of the other bitness, whose MAPI this exe cannot load: the failure names the
        # exe to use.
        machine, use = {
            '64': (0x14C, '32-bit, use the 32-bit'),
            '32': (0x8664, '64-bit, use the x64'),
        }[harness.BITS]
        (outlook / 'OUTLLIB.DLL').write_bytes(
            b'MZ'.ljust(0x3C, b'\0') + struct.pack('<I4sH', 0x40, b'PE', machine)
        )
        exchange = harness.driver('attach', 'test', 'state', 'close')['exchange.field']
        self.assertTrue(exchange.endswith(f' MS Outlook is {use} TarnvikAnalyzer.exe.'), exchange)

    def test_http_and_https_through_the_proxy(self):
        der = servers.make_ca(self.folder, 'ca')
        good = servers.Server(certificate=servers.issue(self.folder, 'ca', 'good', HOST))
        page = servers.Server()
        proxy = servers.Server(servers.Tunnel)
        for server in (good, page, proxy):
            self.addCleanup(server.stop)
        # A certificate store entry: CERT_CERT_PROP_ID (32), 1 and the length, then the DER.
        thumbprint = sha1(der).hexdigest().upper()
        key = rf'HKLM\Software\Microsoft\SystemCertificates\Root\Certificates\{thumbprint}'
        self.reg_add(
            key,
            'Blob',
            'REG_BINARY',
            (struct.pack('<III', 32, 1, len(der)) + der).hex(),
            remove=key,
        )
        self.use_proxy(proxy.port)
        proxy.http = page.port
        proxy.https = good.port
        shown = self.start('test', 'state', 'close')
        self.assert_shows({'http.field': 'OK', 'https.field': 'OK'}, shown)
        self.assertEqual('Quellar Test Platform', page.agent)
        # A server whose certificate comes from a CA the PC does not trust fails the item.
        servers.make_ca(self.folder, 'unknown')
        untrusted = servers.Server(certificate=servers.issue(self.folder, 'unknown', 'bad', HOST))
        self.addCleanup(untrusted.stop)
        proxy.https = untrusted.port
        self.assertEqual(
            "Certificate Authority that generated the server's certificate is invalid. ",
            self.start('test', 'state', 'close')['https.field'],
        )

    def test_notes_files_are_read_as_data_only(self):
        # Without Notes' key the bare name is found in the system folder of the exe's bitness.
        for folder, fixture in (
            (harness.SYSTEM, 'nstrings-5.0.11'),
            (harness.OTHER_SYSTEM, 'malformed-strings'),
        ):
            self.copy_fixture(fixture + '.dll', folder, 'nstrings.dll')
            self.addCleanup((folder / 'nstrings.dll').unlink)
        self.assert_shows(
            {'lotus.field': 'Release 5.0.11', 'lotus.image': 'cross'},
            self.start('lotus', 'test', 'state'),
        )
        # A REG_EXPAND_SZ folder is the one it expands to, %ProgramFiles% that of the exe's
        # bitness; no program file: the release text counts.
        notes = self.folder / 'notes'
        self.copy_fixture('nstrings-5.0.11.dll', notes, 'nstrings.dll')
        self.reg_add(
            NOTES,
            'Path',
            'REG_EXPAND_SZ',
            '%ProgramFiles%\\' + self.folder.name + '\\notes\\',
            remove=r'HKLM\SOFTWARE\Lotus',
        )
        self.reg_add(NOTES, 'Name', 'REG_SZ', 'notes.exe')
        self.assert_shows(
            {'lotus.field': 'Release 5.0.11'}, harness.driver('attach', 'test', 'state')
        )
        # String 1 lies past the end of a block whose string 0 claims more than the block holds;
        # the block claims 2 GB, far more than is mapped.
        self.copy_fixture('malformed-strings.dll', notes, 'nstrings.dll')
        claim_string_block_size(notes / 'nstrings.dll', 0x7FFFFFFF)
        self.assert_shows({'lotus.field': ''}, harness.driver('attach', 'test', 'state', 'close'))


def claim_string_block_size(module, size):
    """Sets the size that the resource directory states for the string block (FFFF 0052)."""
    data = bytearray(module.read_bytes())
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    count, optional = struct.unpack_from('<H12xH', data, pe + 6)
    for at in range(pe + 24 + optional, pe + 24 + optional + 40 * count, 40):
        name, _, rva, _, raw = struct.unpack_from('<8sIIII', data, at)
        if name.startswith(b'.rsrc'):
            entry = data.index(struct.pack('<II', data.index(b'\xff\xffR\0', raw) - raw + rva, 4))
            struct.pack_into('<I', data, entry + 4, size)
    module.write_bytes(data)
