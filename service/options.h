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
  // 600 for the simulation, 1200 with a provider, when not given.
  int numberExpirySeconds = 600;
  // Both set: HTTPS with this certificate (chain) and its private key, PEM files. Neither: HTTP.
  std::string tlsCertificatePath;
  std::string tlsKeyPath;
  int connectionsPerAddress = 64;  // open at once from one client address
  // Numbers from a provider: the three given together, or none (the simulated pool).
  std::string upstreamUrl;
  std::string upstreamKeyFile;
  std::string upstreamProjectsFile;
  int upstreamPollSeconds = 5;  // how often each waiting number's status is asked
  int upstreamRate = 10;        // provider requests a second, all together
  bool upstreamCheck = false;   // print the provider's balance and prices, and exit
  // Set: copy the SQLite file at databasePath into this PostgreSQL database, and exit.
  std::string copyTarget;
};

inline constexpr const char* kUsage =
    "usage: velmora-service [--port N] [--database PATH] [--log PATH] [--sms-delay SECONDS]\n"
    "                       [--number-expiry SECONDS] [--tls-cert FILE --tls-key FILE]\n"
    "                       [--connections-per-address N]\n"
    "                       [--upstream URL --upstream-key-file FILE --upstream-projects FILE\n"
    "                        [--upstream-poll SECONDS] [--upstream-rate N] [--upstream-check]]\n"
    "       velmora-service --database PATH --copy-to URI\n"
    "  --port N         port on 127.0.0.1 (default 8765; 0 picks a free one)\n"
    "  --database PATH  SQLite file, created with demo data if new (default velmora-demo.db)\n"
    "  --log PATH       file that receives each request line (default standard error)\n"
    "  --sms-delay SECONDS      from handing out a number to its SMS (default 5)\n"
    "  --number-expiry SECONDS  from handing out a number to its end, refunded when no SMS\n"
    "                           came (default 600; 1200 with --upstream)\n"
    "  --tls-cert FILE  serve HTTPS with this PEM certificate (chain), instead of HTTP\n"
    "  --tls-key FILE   the certificate's PEM private key; given together with --tls-cert\n"
    "  --connections-per-address N  connections open at once from one client address\n"
    "                               (1-512, default 64)\n"
    "  --upstream URL   resell the numbers of the provider at this handler address (https://;\n"
    "                   http:// only to a loopback host) instead of simulating them\n"
    "  --upstream-key-file FILE  the provider's API key on the first line; mode 600\n"
    "  --upstream-projects FILE  JSON: the projects the client lists, the provider's codes\n"
    "  --upstream-poll SECONDS   how often each waiting number's SMS is asked (1-60, default 5)\n"
    "  --upstream-rate N         provider requests a second, all together (1-100, default 10)\n"
    "  --upstream-check          print the provider's balance and each project's price and\n"
    "                            stock, and exit\n"
    "  --copy-to URI    copy the SQLite file of --database into this empty PostgreSQL\n"
    "                   database, and exit\n";

// Nothing when the arguments are not understood.
std::optional<Options> parseOptions(int argc, const char* const* argv);

}  // namespace velmora::service
