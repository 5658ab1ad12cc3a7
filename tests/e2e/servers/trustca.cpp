// Adds a CA certificate (DER file) to the local machine's ROOT store, or removes it again,
// so that a Wine prefix trusts the loopback HTTPS servers for the length of a test.
//   trustca add <file.der>
//   trustca remove <file.der>
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "trustca: %s failed (error %lu)\n", what, ::GetLastError());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "add") != 0 && std::strcmp(argv[1], "remove") != 0)) {
        std::fprintf(stderr, "usage: trustca add|remove <certificate.der>\n");
        return 2;
    }
    std::ifstream file(argv[2], std::ios::binary);
    const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (der.empty()) {
        std::fprintf(stderr, "trustca: cannot read %s\n", argv[2]);
        return 1;
    }
    HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "ROOT");
    if (!store) return Fail("CertOpenStore");

    int result = 0;
    if (std::strcmp(argv[1], "add") == 0) {
        if (!::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                static_cast<DWORD>(der.size()),
                                                CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
            result = Fail("CertAddEncodedCertificateToStore");
        }
    } else {
        PCCERT_CONTEXT wanted = ::CertCreateCertificateContext(X509_ASN_ENCODING, der.data(),
                                                               static_cast<DWORD>(der.size()));
        if (!wanted) {
            result = Fail("CertCreateCertificateContext");
        } else {
            PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                                CERT_FIND_EXISTING, wanted, nullptr);
            // Deleting also frees the found context; a certificate already gone is fine.
            if (found && !::CertDeleteCertificateFromStore(found)) result = Fail("CertDeleteCertificateFromStore");
            ::CertFreeCertificateContext(wanted);
        }
    }
    ::CertCloseStore(store, 0);
    return result;
}
