#include "service/numbers/upstream_sale.h"

#include "service/money.h"

namespace velmora::service {

namespace {

// Whether the provider's cost is above the project's max_price; costs the service cannot read
// as an amount count as dearer, so the operator looks at them.
bool dearerThanMaxPrice(const UpstreamProject& project, const PriceAnswer& price) {
  if (project.maxPrice.empty()) return false;
  const std::optional<Hundredths> cost = readAmount(price.cost);
  const std::optional<Hundredths> most = readAmount(project.maxPrice);
  return !cost || !most || *cost > *most;
}

void printProject(std::FILE* out, const UpstreamProject& project, const PriceAnswer& price) {
  std::fprintf(out, "%s (%s, country %d): ", project.name.c_str(), project.service.c_str(),
               project.country);
  if (!price.read) {
    std::fputs("no price from the provider  [NOT SOLD]\n", out);
    return;
  }
  std::fprintf(out, "cost %s, stock %lld, sold at %s", price.cost.c_str(), price.count,
               project.price.c_str());
  if (dearerThanMaxPrice(project, price)) {
    std::fprintf(out, "  [DEARER THAN max_price %s]", project.maxPrice.c_str());
  }
  if (price.count <= 0) std::fputs("  [OUT OF STOCK]", out);
  std::fputc('\n', out);
}

}  // namespace

UpstreamSale openUpstream(const Options& options) {
  checkUpstreamUrl(options.upstreamUrl);
  UpstreamSale sale{readUpstreamProjects(options.upstreamProjectsFile), nullptr};
  sale.provider = std::make_unique<Provider>(ProviderSettings{
      .url = options.upstreamUrl,
      .key = readUpstreamKey(options.upstreamKeyFile),
      .requestsPerSecond = static_cast<double>(options.upstreamRate),
  });
  return sale;
}

std::string upstreamBalance(Provider& provider) {
  const BalanceAnswer answer = provider.balance();
  if (answer.word == ProviderWord::kBadKey) {
    throw UpstreamConfigError("the provider refuses the key of the key file (BAD_KEY)");
  }
  if (answer.word != ProviderWord::kAccessBalance) {
    throw UpstreamConfigError("the provider did not tell its balance: " +
                              std::string(providerWordText(answer.word)));
  }
  return answer.amount;
}

int checkUpstream(const Options& options, std::FILE* out, std::FILE* errors) {
  try {
    UpstreamSale sale = openUpstream(options);
    std::fprintf(out, "upstream balance: %s\n", upstreamBalance(*sale.provider).c_str());
    for (const UpstreamProject& project : sale.catalogue.projects) {
      printProject(out, project, sale.provider->price(project.service, project.country));
    }
    return 0;
  } catch (const UpstreamConfigError& error) {
    std::fprintf(errors, "velmora-service: %s\n", error.what());
    return 1;
  }
}

}  // namespace velmora::service
