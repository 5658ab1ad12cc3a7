"""Test certificates made with the openssl command: a trusted test CA, an untrusted one,
and server certificates that are good, expired, for another host, or from the untrusted CA."""

import datetime
import os
import subprocess

CA_CONFIG = """\
[ ca ]
default_ca = test_ca

[ test_ca ]
dir = {dir}
database = $dir/index.txt
new_certs_dir = $dir/issued
serial = $dir/serial
default_md = sha256
policy = policy_any
unique_subject = no
copy_extensions = none

[ policy_any ]
commonName = supplied

[ server ]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = {alt_names}
"""


def _openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def _stamp(moment):
    return moment.strftime("%Y%m%d%H%M%SZ")


def _make_ca(directory, name, common_name):
    ca_dir = os.path.join(directory, name)
    os.makedirs(os.path.join(ca_dir, "issued"), exist_ok=True)
    open(os.path.join(ca_dir, "index.txt"), "w").close()
    with open(os.path.join(ca_dir, "serial"), "w") as serial:
        serial.write("1000\n")
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "30",
             "-keyout", "ca.key", "-out", "ca.pem", "-subj", "/CN=" + common_name,
             "-addext", "basicConstraints=critical,CA:TRUE",
             "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=ca_dir)
    _openssl("x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der", cwd=ca_dir)
    return ca_dir


def _issue(directory, ca_dir, name, host_names, not_before, not_after):
    """Writes <name>.pem (certificate) and <name>.key; returns their paths."""
    alt_names = ",".join("DNS:" + host for host in host_names)
    config = os.path.join(directory, name + ".cnf")
    with open(config, "w") as f:
        f.write(CA_CONFIG.format(dir=ca_dir, alt_names=alt_names))
    key = os.path.join(directory, name + ".key")
    csr = os.path.join(directory, name + ".csr")
    cert = os.path.join(directory, name + ".pem")
    _openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr,
             "-subj", "/CN=" + host_names[0], cwd=directory)
    _openssl("ca", "-batch", "-notext", "-config", config, "-extensions", "server",
             "-cert", os.path.join(ca_dir, "ca.pem"), "-keyfile", os.path.join(ca_dir, "ca.key"),
             "-startdate", _stamp(not_before), "-enddate", _stamp(not_after),
             "-in", csr, "-out", cert, cwd=directory)
    return cert, key


def make_certificates(directory, service_host):
    """Creates every certificate the HTTPS servers need in `directory`.

    Returns a dict: "ca_der"/"ca_pem" of the CA to trust, and (cert, key) pairs for
    "good", "expired", "wrong_host" and "untrusted"."""
    directory = os.path.abspath(directory)
    os.makedirs(directory, exist_ok=True)
    now = datetime.datetime.now(datetime.timezone.utc)
    valid = (now - datetime.timedelta(days=1), now + datetime.timedelta(days=30))
    trusted = _make_ca(directory, "trusted-ca", "Tarnvik Loopback Test CA")
    untrusted = _make_ca(directory, "untrusted-ca", "Tarnvik Unknown Test CA")
    hosts = ["localhost", service_host]
    return {
        "ca_der": os.path.join(trusted, "ca.der"),
        "ca_pem": os.path.join(trusted, "ca.pem"),
        "good": _issue(directory, trusted, "good", hosts, *valid),
        "expired": _issue(directory, trusted, "expired", hosts,
                          datetime.datetime(2020, 1, 1), datetime.datetime(2021, 1, 1)),
        "wrong_host": _issue(directory, trusted, "wrong-host", ["wrong-host.invalid"], *valid),
        "untrusted": _issue(directory, untrusted, "untrusted", hosts, *valid),
    }
