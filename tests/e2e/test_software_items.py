"""Processor, browser, ActiveX zones, accounts, domain and conflicting services as the
user sees them, with the PC state set up in the Wine prefix."""

import re
import subprocess
import unittest
from urllib.parse import urlsplit

import harness
from harness import ids, regdel, regset

ZONES = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Zones'
ZONE_MAP = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\ZoneMap\Domains'
# Wine's Internet zone as a fresh prefix has it.
INTERNET_ZONE_DEFAULTS = {'1200': 0, '1001': 1, '1405': 0}
ACTIVEX_PREFIX = ('V nastavení bezpečnosti aplikácie Internet Explorer je potrebné povoliť '
                  'spúšťanie a sťahovanie ActiveX prvkov.')
RUN_ACTIVEX = 'Spúšťanie ovládacích prvkov ActiveX'
SIGNED_DOWNLOAD = 'Sťahovať podpísané ovládacie prvky ActiveX'
SCRIPT_SAFE = 'Skriptovať ActiveX označené ako bezpečné'
SERVICES_CONFLICT = ('Počítač s touto konfiguráciou nie je odporúčané používať k '
                     'prevádzkovaniu Tarnvika.')
DOMAIN_CONFLICT = 'Tento počítač nie je členom domény. Kontaktujte správcu počítačovej siete.'


def service_host():
    """The host of the service log-on page this build requests."""
    header = (harness.build_dir() / 'generated' / 'TestUrls.h').read_text()
    return urlsplit(re.search(r'kServiceLogonUrl = "([^"]*)"', header).group(1)).hostname


def sc(*arguments):
    return subprocess.run(['wine', 'sc'] + list(arguments), stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


class ProcessorAndAccountsTest(harness.AnalyzerTestCase):

    def test_processor_browser_administrators_and_domain(self):
        r = self.run_test()
        self.assertRegex(r.fields[ids.IDC_CPU], r'^\S.* \[\d{3,5} MHz\]$')
        self.assertRegex(r.fields[ids.IDC_IE], r'^Internet Explorer \d+\.\d+\.\d+$')
        self.assertEqual('tick', r.images[ids.IDC_IE_STATUS])
        self.assertEqual('tick', r.images[ids.IDC_ADMIN_STATUS])
        self.assertFalse(r.links[ids.IDC_ADMIN_LABEL])
        # Wine's LSA answers with a workgroup.
        self.assertEqual('Doména nenalezena', r.fields[ids.IDC_DOMAIN])
        self.assertEqual('cross', r.images[ids.IDC_DOMAIN_STATUS])
        self.assertTrue(r.links[ids.IDC_DOMAIN_LABEL])
        self.assertEqual(DOMAIN_CONFLICT, r.tips[ids.IDC_DOMAIN_LABEL])
        self.assertIn(')  ' + DOMAIN_CONFLICT, r.box.text)

        protocol = self.sandbox.protocol_text()
        self.assertIn('Procesor: ' + r.fields[ids.IDC_CPU] + '\r\n', protocol)
        self.assertIn('Verzia Internet Explorera: ' + r.fields[ids.IDC_IE] + '\r\n', protocol)
        self.assertIn('Logged user is Administrator: OK\r\n', protocol)
        self.assertIn('Meno NT domény: \r\nKonfliktné služby: ', protocol)


class ActiveXZonesTest(harness.AnalyzerTestCase):

    def setUp(self):
        super().setUp()
        restore = [regset(ZONES + r'\3', action, 'dword', value)
                   for action, value in INTERNET_ZONE_DEFAULTS.items()]
        self.addCleanup(self.driver, restore, regdel(ZONE_MAP + '\\' + service_host()))

    def set_internet_zone(self, **actions):
        self.driver([regset(ZONES + r'\3', action, 'dword', value)
                     for action, value in actions.items()])

    def test_default_zones_allow_activex(self):
        r = self.run_test()
        self.assertEqual('OK', r.fields[ids.IDC_ACTIVEX])
        self.assertEqual('tick', r.images[ids.IDC_ACTIVEX_STATUS])
        self.assertIn('Stav ActiveX v IE: OK\r\n', self.sandbox.protocol_text())

    def test_disallowed_actions_are_listed_in_the_field_protocol_and_conflict(self):
        self.set_internet_zone(**{'1200': 3, '1001': 3, '1405': 3})
        r = self.run_test()
        findings = f'Problémy v nastavení: {RUN_ACTIVEX}, {SIGNED_DOWNLOAD}, {SCRIPT_SAFE}'
        item = f'{ACTIVEX_PREFIX} ({findings})'
        self.assertEqual(findings, r.fields[ids.IDC_ACTIVEX])
        self.assertEqual('cross', r.images[ids.IDC_ACTIVEX_STATUS])
        self.assertEqual(item, r.tips[ids.IDC_ACTIVEX_LABEL])
        self.assertIn('\r\n1)  ' + item, r.box.text)
        self.assertIn('Stav ActiveX v IE: ' + item + '\r\n', self.sandbox.protocol_text())

    def test_prompts_are_no_problem_and_only_disallowed_actions_are_named(self):
        self.set_internet_zone(**{'1200': 1, '1001': 3, '1405': 1})
        r = self.run_test()
        self.assertEqual(f'Problémy v nastavení: {SIGNED_DOWNLOAD}', r.fields[ids.IDC_ACTIVEX])

    def test_service_in_trusted_sites_reads_that_zone(self):
        self.set_internet_zone(**{'1200': 3})
        self.driver(regset(ZONE_MAP + '\\' + service_host(), 'https', 'dword', 2))
        r = self.run_test()
        self.assertEqual('OK', r.fields[ids.IDC_ACTIVEX])
        self.assertEqual('tick', r.images[ids.IDC_ACTIVEX_STATUS])


class ConflictingServicesTest(harness.AnalyzerTestCase):

    def add_service(self, name):
        self.assertEqual(0, sc('create', name, 'binpath=', r'C:\windows\system32\notepad.exe'),
                         f'cannot create service {name}')
        self.addCleanup(sc, 'delete', name)

    def test_no_conflicting_service_passes(self):
        self.add_service('My Lotus Domino Server')  # the prefix must stand at the start
        r = self.run_test()
        self.assertEqual('', r.fields[ids.IDC_SERVICES])
        self.assertEqual('tick', r.images[ids.IDC_SERVICES_STATUS])
        self.assertIn('Konfliktné služby: \r\n', self.sandbox.protocol_text())

    def test_installed_server_products_are_named_once_in_order(self):
        for name in ('w3proxy', 'MSExchangeIS', 'MSExchangeSA',
                     'Lotus Domino Server (Lotusdominodata)'):
            self.add_service(name)
        r = self.run_test()
        found = 'MS Exchange, ISA Server, Lotus Domino Server'
        self.assertEqual(found, r.fields[ids.IDC_SERVICES])
        self.assertEqual('cross', r.images[ids.IDC_SERVICES_STATUS])
        self.assertEqual(SERVICES_CONFLICT, r.tips[ids.IDC_SERVICES_LABEL])
        self.assertIn(')  ' + SERVICES_CONFLICT, r.box.text)
        self.assertIn('Konfliktné služby: ' + found + '\r\n', self.sandbox.protocol_text())


if __name__ == '__main__':
    unittest.main()
