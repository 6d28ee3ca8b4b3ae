#include "service/tls_credentials.h"

#include <gnutls/gnutls.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velmora::service {

namespace {

std::string fileText(const std::string& path, const char* what) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  if (!(file && text << file.rdbuf()))
    throw std::runtime_error("cannot read the " + std::string(what) + " " + path);
  return text.str();
}

gnutls_datum_t datum(const std::string& text) {
  return {reinterpret_cast<unsigned char*>(const_cast<char*>(text.data())),
          static_cast<unsigned>(text.size())};
}

// GnuTLS's own loading of the pair, which the HTTP layer repeats; 0 or its error code.
int loadPair(const TlsCredentials& credentials) {
  gnutls_certificate_credentials_t loaded = nullptr;
  if (gnutls_certificate_allocate_credentials(&loaded) != GNUTLS_E_SUCCESS) {
    return GNUTLS_E_MEMORY_ERROR;
  }
  const gnutls_datum_t certificate = datum(credentials.certificateChain);
  const gnutls_datum_t key = datum(credentials.privateKey);
  const int result =
      gnutls_certificate_set_x509_key_mem(loaded, &certificate, &key, GNUTLS_X509_FMT_PEM);
  gnutls_certificate_free_credentials(loaded);
  return result;
}

}  // namespace

TlsCredentials readTlsCredentials(const std::string& certificatePath, const std::string& keyPath) {
  TlsCredentials credentials{fileText(certificatePath, "certificate"), fileText(keyPath, "key")};
  const int loaded = loadPair(credentials);
  if (loaded == GNUTLS_E_CERTIFICATE_KEY_MISMATCH) {
    throw std::runtime_error("the key " + keyPath + " does not belong to the certificate " +
                             certificatePath);
  }
  if (loaded < 0) {
    throw std::runtime_error("cannot serve HTTPS with the certificate " + certificatePath +
                             " and the key " + keyPath + ": " + gnutls_strerror(loaded));
  }
  return credentials;
}

}  // namespace velmora::service
