#!/usr/bin/env python3
"""Starts the loopback servers, runs one command with their ports in its environment,
and stops them again. The command's exit code is this script's.

  run_with_servers.py --work-dir DIR [--http-url URL] [--https-url URL]
                      [--trust-ca-with TRUSTCA_EXE] [--set-proxy] -- command [args...]

--work-dir       where the test certificates are made
--http-url/--https-url
                 the program's two test addresses: the proxy sends their host names to
                 the loopback HTTP and HTTPS servers
--trust-ca-with  run this Windows helper under Wine to trust the test CA in the prefix
                 (WINEPREFIX) for the length of the command
--set-proxy      point the prefix's Internet Settings at the proxy for that time

The command sees TARNVIK_TEST_*_PORT for every server and TARNVIK_TEST_CA_CERT, the test
CA as a Windows path (DER)."""

import argparse
import os
import subprocess
import sys
import urllib.parse

sys.dont_write_bytecode = True  # nothing generated in the source tree
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from servers import certs, loopback  # noqa: E402

INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"


def windows_path(path):
    """Wine's Z: drive is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(log_path, *args):
    # Wine may leave helper processes behind; they must not inherit (and hold open) the
    # caller's output pipes, or a caller that waits for end of output waits for ever.
    with open(log_path, "ab") as log:
        subprocess.run(["wine", *args], check=True, stdin=subprocess.DEVNULL, stdout=log,
                       stderr=log)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work-dir", required=True)
    parser.add_argument("--http-url", default="http://www.debian.org/")
    parser.add_argument("--https-url", default="https://sync.tarnvik.com/es/logon.asp")
    parser.add_argument("--trust-ca-with")
    parser.add_argument("--set-proxy", action="store_true")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command given")

    http_host = urllib.parse.urlsplit(args.http_url).hostname
    https_host = urllib.parse.urlsplit(args.https_url).hostname
    certificates = certs.make_certificates(os.path.join(args.work_dir, "certs"), https_host)
    servers = loopback.LoopbackServers(certificates, {http_host: "http", https_host: "https"})
    env = dict(os.environ, **servers.environment())
    env["TARNVIK_TEST_CA_CERT"] = windows_path(certificates["ca_der"])
    ca = windows_path(certificates["ca_der"])
    log = os.path.join(args.work_dir, "wine-setup.log")
    trusted = proxied = False
    try:
        if args.trust_ca_with:
            wine(log, args.trust_ca_with, "add", ca)
            trusted = True
        if args.set_proxy:
            wine(log, "reg", "add", INTERNET_SETTINGS, "/v", "ProxyServer", "/t", "REG_SZ",
                 "/d", "127.0.0.1:%d" % servers.proxy, "/f")
            wine(log, "reg", "add", INTERNET_SETTINGS, "/v", "ProxyEnable", "/t", "REG_DWORD",
                 "/d", "1", "/f")
            proxied = True
        return subprocess.call(command, env=env)
    finally:
        if proxied:
            wine(log, "reg", "add", INTERNET_SETTINGS, "/v", "ProxyEnable", "/t", "REG_DWORD",
                 "/d", "0", "/f")
            wine(log, "reg", "delete", INTERNET_SETTINGS, "/v", "ProxyServer", "/f")
        if trusted:
            wine(log, args.trust_ca_with, "remove", ca)
        servers.close()


if __name__ == "__main__":
    sys.exit(main())
