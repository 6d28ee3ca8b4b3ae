// What the operator gives the service to resell a provider's numbers: the provider's address,
// the key file and the projects file.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::service {

// A file or value that does not read; the message names what is wrong, and never holds the key.
class UpstreamConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A project the client lists and what the provider calls it.
struct UpstreamProject {
  std::string name;      // as getxm.php lists it ("微信")
  std::string service;   // the provider's service code ("wx")
  int country = 0;       // the provider's country number
  std::string price;     // what the account is charged, two decimals ("1.20")
  std::string maxPrice;  // sent as maxPrice; empty: not sent
};

// The projects file: the projects in the order the client lists them, and the client's operator
// texts mapped to the provider's operator codes.
struct UpstreamCatalogue {
  std::vector<UpstreamProject> projects;
  std::vector<std::pair<std::string, std::string>> operators;  // client text, provider code

  const UpstreamProject* project(const std::string& name) const;
  // The provider's code for a client operator text; empty for none or one not mapped.
  std::string providerOperator(const std::string& clientText) const;
};

// Throws UpstreamConfigError naming what is wrong (the file, and the project or field).
UpstreamCatalogue readUpstreamProjects(const std::string& path);

// The first line of the key file. Throws UpstreamConfigError when the file cannot be read, is
// readable by group or others, or holds no key.
std::string readUpstreamKey(const std::string& path);

// Throws UpstreamConfigError unless the address is https, or http to a loopback host.
void checkUpstreamUrl(const std::string& url);

}  // namespace velmora::service
