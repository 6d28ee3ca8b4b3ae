// root_certificate add|remove FILE: puts a DER certificate into the local machine's trusted root
// certificates, or takes it out again. The HTTPS end-to-end runs trust the test CA they make with
// it, and only while they run.
#include <windows.h>
// after windows.h, whose types it uses
#include <wincrypt.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Where Windows keeps the local machine's trusted roots, and where the chain engine of Wine 8
// reads them for every process. Opened as a registry store rather than as the system store
// "Root": Wine's system store takes additions into the registry but drops deletions.
constexpr wchar_t kRootKey[] = L"Software\\Microsoft\\SystemCertificates\\Root";

std::vector<BYTE> fileBytes(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool add(HCERTSTORE store, const std::vector<BYTE>& der) {
  return CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                          static_cast<DWORD>(der.size()),
                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
}

// Also true when the store does not hold it.
bool remove(HCERTSTORE store, const std::vector<BYTE>& der) {
  PCCERT_CONTEXT certificate =
      CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
  if (certificate == nullptr) return false;
  PCCERT_CONTEXT stored = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                     CERT_FIND_EXISTING, certificate, nullptr);
  CertFreeCertificateContext(certificate);
  return stored == nullptr || CertDeleteCertificateFromStore(stored);  // frees `stored`
}

bool change(bool adding, const std::vector<BYTE>& der) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRootKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, key);
  const bool done = store != nullptr && (adding ? add(store, der) : remove(store, der));
  if (store != nullptr) CertCloseStore(store, 0);
  RegCloseKey(key);
  return done;
}

}  // namespace

int main(int argc, char** argv) {
  const bool adding = argc == 3 && std::strcmp(argv[1], "add") == 0;
  if (argc != 3 || (!adding && std::strcmp(argv[1], "remove") != 0)) {
    std::fputs("usage: root_certificate add|remove FILE\n", stderr);
    return 2;
  }
  const std::vector<BYTE> der = fileBytes(argv[2]);
  if (der.empty() || !change(adding, der)) {
    std::fprintf(stderr, "root_certificate: cannot %s %s (error %lu)\n", argv[1], argv[2],
                 GetLastError());
    return 1;
  }
  return 0;
}
