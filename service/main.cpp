// velmora-service: the demo service the client talks to on loopback.
#include <cstdio>
#include <exception>

#include "service/numbers/upstream_sale.h"
#include "service/options.h"
#include "service/server.h"
#include "service/store/store_copy.h"

int main(int argc, char** argv) {
  const auto options = velmora::service::parseOptions(argc, argv);
  if (!options) {
    std::fputs(velmora::service::kUsage, stderr);
    return 2;
  }
  if (options->upstreamCheck) return velmora::service::checkUpstream(*options, stdout, stderr);
  if (!options->copyTarget.empty()) {
    return velmora::service::runStoreCopy(options->databasePath, options->copyTarget, stdout,
                                          stderr);
  }
  try {
    return velmora::service::runService(*options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velmora-service: %s\n", error.what());
    return 1;
  }
}
