// Opening the sale of a provider's numbers from the operator's options: the provider's address,
// key and projects read and checked, and the provider asked for its balance.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "service/numbers/provider.h"
#include "service/numbers/upstream_config.h"
#include "service/options.h"

namespace velmora::service {

struct UpstreamSale {
  UpstreamCatalogue catalogue;
  std::unique_ptr<Provider> provider;
};

// Throws UpstreamConfigError naming what is wrong with the options' address, key file or
// projects file.
UpstreamSale openUpstream(const Options& options);

// The provider's balance as it wrote it. Throws UpstreamConfigError when the provider refuses
// the key or gives no readable answer.
std::string upstreamBalance(Provider& provider);

// --upstream-check: writes the provider's balance to `out`, and for each project of the file the
// provider's price and stock, marking those dearer than their max_price and those out of stock.
// 0, or 1 when the key or the files are wrong (said on `errors`).
int checkUpstream(const Options& options, std::FILE* out, std::FILE* errors);

}  // namespace velmora::service
