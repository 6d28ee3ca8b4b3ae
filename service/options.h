// The demo service's command line.
#pragma once

#include <optional>
#include <string>

namespace velmora::service {

inline constexpr int kDefaultPort = 8765;  // the client's built-in service port

struct Options {
  int port = kDefaultPort;  // 0: any free port
  std::string databasePath = "velmora-demo.db";
  std::string logPath;  // empty: standard error
  int smsDelaySeconds = 5;
  int numberExpirySeconds = 600;
  // Both set: HTTPS with this certificate (chain) and its private key, PEM files. Neither: HTTP.
  std::string tlsCertificatePath;
  std::string tlsKeyPath;
};

inline constexpr const char* kUsage =
    "usage: velmora-service [--port N] [--database PATH] [--log PATH] [--sms-delay SECONDS]\n"
    "                       [--number-expiry SECONDS] [--tls-cert FILE --tls-key FILE]\n"
    "  --port N         port on 127.0.0.1 (default 8765; 0 picks a free one)\n"
    "  --database PATH  SQLite file, created with demo data if new (default velmora-demo.db)\n"
    "  --log PATH       file that receives each request line (default standard error)\n"
    "  --sms-delay SECONDS      from handing out a number to its SMS (default 5)\n"
    "  --number-expiry SECONDS  from handing out a number to its end, refunded when no SMS\n"
    "                           came (default 600)\n"
    "  --tls-cert FILE  serve HTTPS with this PEM certificate (chain), instead of HTTP\n"
    "  --tls-key FILE   the certificate's PEM private key; given together with --tls-cert\n";

// Nothing when the arguments are not understood.
std::optional<Options> parseOptions(int argc, const char* const* argv);

}  // namespace velmora::service
