// The certificate and key the service serves HTTPS with, checked before it starts to listen.
#pragma once

#include <string>

namespace velmora::service {

// PEM texts: the certificate with its chain after it, and its private key.
struct TlsCredentials {
  std::string certificateChain;
  std::string privateKey;
};

// Reads both files and checks that the key belongs to the certificate, so that a wrong pair stops
// the start instead of failing every handshake. Throws std::runtime_error naming what is wrong.
TlsCredentials readTlsCredentials(const std::string& certificatePath, const std::string& keyPath);

}  // namespace velmora::service
