// The demo service's HTTP(S) side: listens on 127.0.0.1 and answers until SIGINT or SIGTERM.
#pragma once

#include "service/options.h"

namespace velmora::service {

// Prints "listening on 127.0.0.1:PORT" as the first line on standard output once requests can
// arrive, over HTTPS when the options name a certificate. Returns the process exit code; throws
// when the database, the log or the certificate and its key cannot be opened. The certificate,
// the provider's files, the log and the port are checked before the provider is asked anything
// or the database is touched, so a start that fails leaves no database behind.
int runService(const Options& options);

}  // namespace velmora::service
