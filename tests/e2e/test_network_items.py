"""HTTP and HTTPS reachability of the shipped exe: its fixed addresses reach loopback
servers through a forward proxy set in the prefix's Internet Settings, with a test CA
that the prefix trusts. Nothing leaves the machine."""

import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path
from urllib.parse import urlsplit

import harness
from harness import ids, regdel, regdelval, regset

sys.path.insert(0, str(Path(__file__).resolve().parent))
from servers import certs, loopback  # noqa: E402

INTERNET_SETTINGS = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
HTTP_CONFLICT = 'Tento počítač nemá prístup k sieti Internet.'
HTTPS_CONFLICT = ('Tento počtíač nemá prístup k synchronizačnému serveru služby alebo nemáte '
                  'aktualizovaný OS.')
EXPIRED = ('SSL certificate date that was received from the server is bad. '
           'The certificate is expired. ')
NOT_RESOLVED = 'The server name could not be resolved. '


def configured_urls():
    header = (harness.build_dir() / 'generated' / 'TestUrls.h').read_text()
    return (re.search(r'kPublicTestUrl = "([^"]*)"', header).group(1),
            re.search(r'kServiceLogonUrl = "([^"]*)"', header).group(1))


def wine(*arguments):
    subprocess.run(['wine'] + [str(a) for a in arguments], check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class ThroughProxyTest(harness.AnalyzerTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        http_url, https_url = configured_urls()
        cls.https_host = urlsplit(https_url).hostname
        cls.work = tempfile.TemporaryDirectory(prefix='tarnvik-net-')
        cls.addClassCleanup(cls.work.cleanup)
        made = certs.make_certificates(cls.work.name, cls.https_host)
        cls.servers = loopback.LoopbackServers(
            made, {urlsplit(http_url).hostname: 'http', cls.https_host: 'https'})
        cls.addClassCleanup(cls.servers.close)
        ca = harness.windows_path(made['ca_der'])
        trustca = harness.build_dir() / 'tests' / 'trustca.exe'
        wine(trustca, 'add', ca)
        cls.addClassCleanup(wine, trustca, 'remove', ca)
        harness.run_driver(regset(INTERNET_SETTINGS, 'ProxyServer', 'sz',
                                  f'127.0.0.1:{cls.servers.proxy}'),
                           regset(INTERNET_SETTINGS, 'ProxyEnable', 'dword', 1))
        cls.addClassCleanup(harness.run_driver,
                            regset(INTERNET_SETTINGS, 'ProxyEnable', 'dword', 0),
                            regdelval(INTERNET_SETTINGS, 'ProxyServer'))

    def setUp(self):
        super().setUp()
        self.addCleanup(self.servers.route, self.https_host, self.servers.https)

    def test_both_addresses_reachable(self):
        r = self.run_test()
        self.assertEqual('OK', r.fields[ids.IDC_HTTP])
        self.assertEqual('OK', r.fields[ids.IDC_HTTPS])
        self.assertEqual('tick', r.images[ids.IDC_HTTP_STATUS])
        self.assertEqual('tick', r.images[ids.IDC_HTTPS_STATUS])
        self.assertFalse(r.links[ids.IDC_HTTPS_LABEL])
        self.assertNotIn(HTTP_CONFLICT, r.box.text)
        self.assertIn('HTTP: OK\r\nHTTPS: OK\r\n', self.sandbox.protocol_text())

    def test_expired_service_certificate_fails_only_https(self):
        self.servers.route(self.https_host, self.servers.https_expired)
        r = self.run_test()
        self.assertEqual('OK', r.fields[ids.IDC_HTTP])
        self.assertEqual('tick', r.images[ids.IDC_HTTP_STATUS])
        self.assertEqual(EXPIRED, r.fields[ids.IDC_HTTPS])
        self.assertEqual('cross', r.images[ids.IDC_HTTPS_STATUS])
        self.assertTrue(r.links[ids.IDC_HTTPS_LABEL])
        self.assertEqual(HTTPS_CONFLICT, r.tips[ids.IDC_HTTPS_LABEL])
        self.assertIn(')  ' + HTTPS_CONFLICT, r.box.text)
        self.assertNotIn(HTTP_CONFLICT, r.box.text)
        self.assertIn(f'HTTP: OK\r\nHTTPS: {EXPIRED}\r\n', self.sandbox.protocol_text())


class WithoutNetworkTest(harness.AnalyzerTestCase):

    def test_names_do_not_resolve(self):
        r = self.run_test()
        for field, image in ((ids.IDC_HTTP, ids.IDC_HTTP_STATUS),
                             (ids.IDC_HTTPS, ids.IDC_HTTPS_STATUS)):
            self.assertEqual(NOT_RESOLVED, r.fields[field])
            self.assertEqual('cross', r.images[image])
        self.assertEqual(HTTP_CONFLICT, r.tips[ids.IDC_HTTP_LABEL])
        self.assertIn(f'HTTP: {NOT_RESOLVED}\r\nHTTPS: {NOT_RESOLVED}\r\n',
                      self.sandbox.protocol_text())


if __name__ == '__main__':
    unittest.main()
