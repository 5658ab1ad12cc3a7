"""Items on a Wine PC set up with stock tools: registry views, services, zones, mail clients
(fixture libraries stand in for them), the network through a proxy to loopback servers, the
name of the Windows version; and, as when run from a download folder, libraries planted there
or named by a relative registry path never run, a malformed string table is read safely."""

import hashlib
import os
import struct
import time
from urllib.parse import urlsplit

import harness
import servers

HOST = urlsplit(harness.HTTPS_URL).hostname
NOTES = r'HKLM\SOFTWARE\Lotus\Notes'
ROOT_STORE = r'HKLM\Software\Microsoft\SystemCertificates\Root\Certificates'
UNTRUSTED = "Certificate Authority that generated the server's certificate is invalid. "


class ItemsTest(harness.Case):

    def test_registry_views_services_and_zones(self):
        # Only a 32-bit installer's trace; services past the first record the manager returns;
        # signed ActiveX downloads forbidden in the Internet zone.
        trace = r'HKLM\Software\Devadozededa'
        self.reg_add(trace, 'Root', 'REG_SZ', r'C:\Tarnvik', view='32', remove=trace)
        for name in ('w3proxy', 'MSExchangeIS', 'lotus domino server (x)'):
            harness.wine('sc', 'create', name, 'binpath=', r'C:\windows\system32\notepad.exe')
            self.addCleanup(harness.wine, 'sc', 'delete', name)
        for action in ('1001', '1405'):  # downloading signed and scripting safe controls
            self.reg_add(harness.INTERNET_SETTINGS + r'\Zones\3', action, 'REG_DWORD', '3')
        findings = 'Problémy v nastavení: Sťahovať podpísané ovládacie prvky ActiveX, Skriptovať ActiveX označené ako bezpečné'
        shown = self.start('test', 'state')
        self.assert_shows({'install.field': 'Tarnvik už je alebo bol niekedy nainštalovaný.',
                           'services.field': 'MS Exchange, ISA Server, Lotus Domino Server',
                           'install.image': 'cross', 'services.image': 'cross', 'activex.image': 'cross',
                           'activex.field': findings}, shown)
        self.assertIn(f' ({findings})\r\n', shown['box.text'])
        # The service host in Trusted sites: its zone, not the Internet zone, is read.
        trusted = harness.INTERNET_SETTINGS + r'\ZoneMap\Domains' + '\\' + HOST
        self.reg_add(trusted, 'https', 'REG_DWORD', '2', remove=trusted)
        self.assert_shows({'activex.field': 'OK', 'activex.image': 'tick', 'activex.link': '0'},
                          harness.driver('attach', 'test', 'state', 'close'))

    def test_outlook_versions_and_mapi_logon(self):
        # Wine's MAPI hands the log-on to the registered mail client's, which imports a library beside it.
        mail, client = self.folder / 'mail', r'HKLM\Software\Clients\Mail'
        self.copy_fixture('mapiprovider.dll', mail, 'mapiex.dll')
        self.copy_fixture('mapihelper.dll', mail, 'mapihelper.dll')
        self.reg_add(client, '', 'REG_SZ', 'Tarnvik Test Mail')
        self.reg_add(client + r'\Tarnvik Test Mail', 'DLLPathEx', 'REG_SZ',
                     harness.windows_path(mail / 'mapiex.dll'), remove=client + r'\Tarnvik Test Mail')
        self.register_outlook('outllib-10.0.2627.dll')
        self.assert_shows({'outlook.field': 'MS Outlook 10.0.2627', 'outlook.image': 'cross',
                           'exchange.field': 'OK',
                           'exchange.image': 'tick', 'exchange.link': '0', 'enabled': '1', 'focus': '1'},
                          self.start('test', 'state'))
        self.assertEqual('MS Outlook 10.0.2627', self.protocol_line('Verzia MS Outloook (OUTLLIB.DLL): '))
        self.assertTrue((mail / 'mapiex.dll.logoff').exists())
        # Its version export answers 9.0.4527, its version resource 9.0.0.4527. Wine gives Everyone
        # the write right when others may write the folder: then the library is only read as data.
        outlook = self.folder / 'outlook'
        self.copy_fixture('dllversion-9.0.4527.dll', outlook, 'OUTLLIB.DLL')
        outlook.chmod(0o777)
        self.assert_shows({'outlook.field': 'MS Outlook 9.0.0', 'outlook.image': 'cross'},
                          harness.driver('attach', 'test', 'state'))
        self.assertEqual([], self.planted())
        outlook.chmod(0o755)
        self.assert_shows({'outlook.field': 'MS Outlook 9.0.4527', 'outlook.image': 'tick'},
                          harness.driver('attach', 'test', 'state'))
        # A 32-bit MS Outlook, whose MAPI this x64 program cannot load: the failure names the exe to use.
        (outlook / 'OUTLLIB.DLL').write_bytes(b'MZ'.ljust(0x3C, b'\0') + struct.pack('<I4sH', 0x40, b'PE', 0x14C))
        harness.wine('reg', 'delete', client, '/ve', '/f')
        exchange = harness.driver('attach', 'test', 'state', 'close')['exchange.field']
        self.assertEqual('Failed to initialise MAPI (Initialize) Failed to log on to MAPI: MS Outlook is 32-bit, '
                         'use the 32-bit TarnvikAnalyzer.exe.', exchange)

    def test_http_and_https_through_the_proxy(self):
        der = servers.make_ca(self.folder, 'ca')
        servers.make_ca(self.folder, 'unknown-ca')
        https = {name: servers.Server(certificate=servers.issue(self.folder, ca, name, HOST))
                 for name, ca in (('good', 'ca'), ('untrusted', 'unknown-ca'))}
        http, trickle = servers.Server(), servers.Server(servers.Trickle)
        proxy = servers.Server(servers.Tunnel, http=http.port)
        for server in (http, trickle, proxy, *https.values()):
            self.addCleanup(server.stop)
        # A certificate store entry: CERT_CERT_PROP_ID (32), 1 and the length, then the DER.
        key = ROOT_STORE + '\\' + hashlib.sha1(der).hexdigest().upper()
        self.reg_add(key, 'Blob', 'REG_BINARY', (struct.pack('<III', 32, 1, len(der)) + der).hex(), remove=key)
        self.reg_add(harness.INTERNET_SETTINGS, 'ProxyServer', 'REG_SZ', f'127.0.0.1:{proxy.port}')
        self.reg_add(harness.INTERNET_SETTINGS, 'ProxyEnable', 'REG_DWORD', '1')
        # A new process each: WinINet keeps what it has checked. The trickle sends one body byte
        # every 2 s for ever: only the body's time limit ends the run (the driver waits 120 s).
        for name, text, body in (('good', 'OK', http), ('untrusted', UNTRUSTED, http),
                                 ('good', 'OK', trickle)):
            with self.subTest(name, body=body.RequestHandlerClass.__name__):
                proxy.https, proxy.http, started = https[name].port, body.port, time.monotonic()
                self.start('test', 'close')
                self.assertEqual(['OK', text], [self.protocol_line('HTTP: '), self.protocol_line('HTTPS: ')])
        self.assertLess(time.monotonic() - started, 30 + 20)  # the trickled run: its limit and start-up

    def test_windows_is_named_by_what_it_reports(self):
        # Wine's win2008r2 reports a workstation (product type 1), which the rule names Windows 7.
        names = {'win10': 'Microsoft Windows 10  (Build 18362)',
                 'win2008r2': 'Microsoft Windows 7 Service Pack 1 (Build 7601)',
                 'winxp': 'Microsoft Windows XP Professional Service Pack 3 (Build 2600)'}
        for version, name in names.items():
            with self.subTest(version):
                self.reg_add(r'HKCU\Software\Wine', 'Version', 'REG_SZ', version)
                self.start('test', 'close')
                self.assertEqual(name, self.protocol_line('Verzia OS: '))

    def planted(self):
        return sorted(path.name for path in self.folder.rglob('*.loaded'))

    def test_libraries_planted_beside_the_exe_are_not_loaded(self):
        # Wine, told to prefer native copies as Windows does, would load any the loader looks for.
        for name in ('winmm', 'wininet', 'mapi32'):
            self.copy_fixture('planted.dll', self.folder, name + '.dll')
            self.reg_add(r'HKCU\Software\Wine\DllOverrides', name, 'REG_SZ', 'native,builtin')
        self.assert_shows({'box.caption': 'Upozornenie'}, self.start('test', 'close'))
        self.assertEqual([], self.planted())

    def test_notes_files_are_read_as_data_only(self):
        notes = self.folder / 'notes'
        self.copy_fixture('nstrings-5.0.11.dll', notes, 'nstrings.dll')
        # Without Notes' key the bare name is found along PATH (Wine adds WINEPATH to it).
        os.environ['WINEPATH'] = harness.windows_path(notes)
        self.addCleanup(os.environ.pop, 'WINEPATH')
        self.assert_shows({'lotus.field': 'Release 5.0.11', 'lotus.image': 'cross'},
                          self.start('lotus', 'test', 'state'))
        self.reg_add(NOTES, 'Path', 'REG_SZ', harness.windows_path(notes) + '\\', remove=r'HKLM\SOFTWARE\Lotus')
        self.reg_add(NOTES, 'Name', 'REG_SZ', 'notes.exe')  # no program file: the release text counts
        # String 1 lies past the end of a block whose string 0 claims more than the block holds;
        # the block claims 2 GB, far more than is mapped.
        self.copy_fixture('planted.dll', notes, 'nstrings.dll')
        claim_string_block_size(notes / 'nstrings.dll', 0x7FFFFFFF)
        self.assert_shows({'lotus.field': ''}, harness.driver('attach', 'test', 'state'))
        # A relative path resolves against the current folder: its program file is not run.
        self.copy_fixture('planted.dll', notes, 'notes.exe')
        self.reg_add(NOTES, 'Path', 'REG_SZ', 'notes\\')
        self.assert_shows({'lotus.field': ''}, harness.driver('attach', 'test', 'state', 'close'))
        self.assertEqual([], self.planted())

    def test_registry_reads_that_the_exe_cannot_show(self):
        harness.wine(harness.BUILD / 'tests' / 'registry_check.exe')  # error=<what> when wrong


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
