#include "service/numbers/upstream_config.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>
#include <span>
#include <string_view>

#include "app/protocol/vocabulary.h"
#include "service/field_rules.h"
#include "service/money.h"
#include "service/query.h"

namespace velmora::service {

namespace {

// Objects keep the file's order, so the operators map as they are written.
using Json = nlohmann::ordered_json;

// Far beyond any key or projects file, and small enough to hold at start.
constexpr size_t kMaxFileBytes = 1 << 20;

constexpr std::array<std::string_view, 2> kFileKeys{"projects", "operators"};
constexpr std::array<std::string_view, 5> kProjectKeys{"name", "service", "country", "price",
                                                       "max_price"};

[[noreturn]] void refuse(const std::string& where, const std::string& why) {
  throw UpstreamConfigError(where + ": " + why);
}

// A text as JSON writes it, in quotes and with control characters escaped, so a message shows
// exactly what the file holds and nothing a terminal would interpret.
std::string jsonQuoted(const std::string& text) {
  return Json(text).dump();
}

class Descriptor {
 public:
  explicit Descriptor(int value) : value_(value) {}
  ~Descriptor() {
    if (value_ >= 0) ::close(value_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return value_; }

 private:
  int value_;
};

struct FileBytes {
  std::string text;
  mode_t permissions = 0;
};

// A regular file's bytes and permission bits, both from the one file opened.
FileBytes readFile(const std::string& path, const std::string& where) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (file.get() < 0 || ::fstat(file.get(), &status) != 0) {
    refuse(where, std::string("cannot be read: ") + std::strerror(errno));
  }
  if (!S_ISREG(status.st_mode)) refuse(where, "is not a regular file");
  FileBytes bytes{std::string(), status.st_mode & 07777};
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) refuse(where, std::string("cannot be read: ") + std::strerror(errno));
    if (got == 0) return bytes;
    bytes.text.append(buffer, static_cast<size_t>(got));
    if (bytes.text.size() > kMaxFileBytes) refuse(where, "is over 1 MiB");
  }
}

// The file's JSON. A key given twice in one object is refused: the parser would keep one of the
// two silently.
Json parsedJson(const std::string& text, const std::string& where) {
  std::vector<std::set<std::string>> keysOfOpenObjects;
  const auto refuseRepeatedKey = [&](int, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::object_start) keysOfOpenObjects.emplace_back();
    if (event == Json::parse_event_t::object_end) keysOfOpenObjects.pop_back();
    if (event == Json::parse_event_t::key &&
        !keysOfOpenObjects.back().insert(parsed.get<std::string>()).second) {
      refuse(where, "the key " + parsed.dump() + " is given twice in one object");
    }
    return true;
  };
  try {
    return Json::parse(text, refuseRepeatedKey);
  } catch (const Json::parse_error& error) {
    // The parser's own words after its "[json.exception.parse_error.N] " tag: the line and
    // column, and what it read there.
    const std::string_view words = error.what();
    refuse(where, "not JSON: " + std::string(words.substr(words.find("] ") + 2)));
  }
}

void refuseUnknownKeys(const Json& object, std::span<const std::string_view> known,
                       const std::string& where) {
  for (const auto& [key, value] : object.items()) {
    if (std::find(known.begin(), known.end(), key) == known.end()) {
      refuse(where, "unknown key " + jsonQuoted(key));
    }
  }
}

// The field's text, or nothing when `optional` and it is missing.
std::optional<std::string> textField(const Json& object, const std::string& field,
                                     const std::string& where, bool optional = false) {
  const auto value = object.find(field);
  if (value == object.end()) {
    if (optional) return std::nullopt;
    refuse(where, "no " + jsonQuoted(field));
  }
  if (!value->is_string()) refuse(where, jsonQuoted(field) + " must be a text in quotes");
  return value->get<std::string>();
}

// Letters, digits and `punctuation`, at least one.
bool asciiWord(std::string_view text, std::string_view punctuation) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [&](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           punctuation.find(c) != std::string_view::npos;
  });
}

// A code the provider gives its services and operators ("wx", "cmcc"). It goes into the
// provider's query, so only letters, digits, "_", "-" and "." are taken.
bool providerCode(std::string_view code) {
  return asciiWord(code, "_-.");
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A limit sent as maxPrice in the provider's own currency: digits with an optional point and
// decimals ("0.5", "12.345").
bool decimalText(std::string_view text) {
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view decimals =
      point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return !part.empty() && part.size() <= 12 &&
           part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return digits(whole) && digits(decimals);
}

// Why the client could not list or ask for a project of this name; empty when it can.
std::string nameFault(const std::string& name) {
  static const std::string kSeparators =
      std::string(protocol::kListSeparator) + protocol::kPartSeparator;
  if (name.empty()) return "\"name\" is empty";
  if (name.size() > kMaxFieldBytes) {
    return "\"name\" is over " + std::to_string(kMaxFieldBytes) + " bytes";
  }
  if (name.find_first_of(kSeparators) != std::string::npos) {
    return "\"name\" holds \",\" or \"-\", which the client splits the project list on";
  }
  if (!writableInGbk(name)) {
    return "\"name\" holds a control character or one that GBK, the client's encoding, lacks";
  }
  return {};
}

UpstreamProject readProject(const Json& entry, const std::string& where) {
  if (!entry.is_object()) refuse(where, "is not an object");
  const auto name = entry.find("name");
  const std::string named = name != entry.end() && name->is_string()
                                ? where + " (" + jsonQuoted(name->get<std::string>()) + ")"
                                : where;
  refuseUnknownKeys(entry, kProjectKeys, named);
  UpstreamProject project;
  project.name = *textField(entry, "name", named);
  if (const std::string fault = nameFault(project.name); !fault.empty()) refuse(named, fault);
  project.service = *textField(entry, "service", named);
  if (!providerCode(project.service)) {
    refuse(named, "\"service\" must be the provider's code: letters, digits, \"_\", \"-\", \".\"");
  }
  const auto country = entry.find("country");
  if (country == entry.end()) refuse(named, "no \"country\"");
  // Unsigned integers are read as such; a negative one or one beyond int becomes out of range.
  if (!country->is_number_integer() || country->get<std::int64_t>() < 0 ||
      country->get<std::int64_t>() > INT_MAX) {
    refuse(named, "\"country\" must be the provider's country number, from 0 to 2147483647");
  }
  project.country = country->get<int>();
  const std::optional<Hundredths> price = readAmount(*textField(entry, "price", named));
  if (!price) {
    refuse(named, "\"price\" must be an amount with at most two decimals, such as \"1.20\"");
  }
  project.price = amountText(*price);
  project.maxPrice = textField(entry, "max_price", named, true).value_or("");
  if (entry.contains("max_price") && !decimalText(project.maxPrice)) {
    refuse(named, "\"max_price\" must be a decimal such as \"0.50\"");
  }
  return project;
}

std::vector<std::pair<std::string, std::string>> readOperators(const Json& file,
                                                               const std::string& where) {
  std::vector<std::pair<std::string, std::string>> operators;
  const auto found = file.find("operators");
  if (found == file.end()) return operators;
  if (!found->is_object()) refuse(where, "\"operators\" must be an object");
  for (const auto& [clientText, code] : found->items()) {
    const std::string named = where + ", operator " + jsonQuoted(clientText);
    if (clientText.empty() || !writableInGbk(clientText)) {
      refuse(named,
             "the client cannot send this text: empty, a control character or one GBK lacks");
    }
    if (!code.is_string() || !providerCode(code.get<std::string>())) {
      refuse(named, "must map to the provider's code: letters, digits, \"_\", \"-\", \".\"");
    }
    operators.emplace_back(clientText, code.get<std::string>());
  }
  return operators;
}

bool portNumber(std::string_view text) {
  int port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  return error == std::errc() && end == text.data() + text.size() && port >= 1 && port <= 65535;
}

bool loopbackHost(const std::string& host) {
  if (lowerCase(host) == "localhost") return true;
  in_addr address4{};
  if (inet_pton(AF_INET, host.c_str(), &address4) == 1) {
    return (ntohl(address4.s_addr) >> 24) == 127;
  }
  in6_addr address6{};
  return host.size() > 2 && host.front() == '[' && host.back() == ']' &&
         inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &address6) == 1 &&
         IN6_IS_ADDR_LOOPBACK(&address6);
}

// A host as a URL names it: a name or IPv4 address, or an IPv6 address in brackets.
bool hostText(const std::string& host) {
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    in6_addr address{};
    return inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &address) == 1;
  }
  return asciiWord(host, "-.");
}

}  // namespace

const UpstreamProject* UpstreamCatalogue::project(const std::string& name) const {
  const auto found =
      std::find_if(projects.begin(), projects.end(),
                   [&](const UpstreamProject& project) { return project.name == name; });
  return found == projects.end() ? nullptr : &*found;
}

std::string UpstreamCatalogue::providerOperator(const std::string& clientText) const {
  const auto found = std::find_if(operators.begin(), operators.end(),
                                  [&](const auto& entry) { return entry.first == clientText; });
  return found == operators.end() ? std::string() : found->second;
}

UpstreamCatalogue readUpstreamProjects(const std::string& path) {
  const std::string where = "the projects file " + path;
  const Json file = parsedJson(readFile(path, where).text, where);
  if (!file.is_object()) refuse(where, "must be a JSON object with \"projects\"");
  refuseUnknownKeys(file, kFileKeys, where);
  const auto projects = file.find("projects");
  if (projects == file.end() || !projects->is_array() || projects->empty()) {
    refuse(where, "\"projects\" must be a list of at least one project");
  }
  UpstreamCatalogue catalogue;
  for (size_t index = 0; index < projects->size(); ++index) {
    const std::string entryWhere = where + ", projects[" + std::to_string(index) + "]";
    UpstreamProject project = readProject((*projects)[index], entryWhere);
    if (const UpstreamProject* earlier = catalogue.project(project.name)) {
      refuse(entryWhere + " (" + jsonQuoted(project.name) + ")",
             "\"name\" is projects[" + std::to_string(earlier - catalogue.projects.data()) +
                 "]'s too; the client tells projects by name");
    }
    catalogue.projects.push_back(std::move(project));
  }
  catalogue.operators = readOperators(file, where);
  return catalogue;
}

std::string readUpstreamKey(const std::string& path) {
  const std::string where = "the key file " + path;
  const FileBytes file = readFile(path, where);
  if ((file.permissions & 077) != 0) {
    char mode[16];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(file.permissions));
    refuse(where, std::string("is open to group or others (mode ") + mode +
                      "); keep it to its owner: chmod 600 " + path);
  }
  std::string key = file.text.substr(0, file.text.find('\n'));
  if (!key.empty() && key.back() == '\r') key.pop_back();
  if (key.empty()) refuse(where, "holds no key on its first line");
  if (std::any_of(key.begin(), key.end(), [](unsigned char c) { return c <= ' ' || c == 0x7F; })) {
    refuse(where, "the key on its first line holds a space or control character");
  }
  return key;
}

void checkUpstreamUrl(const std::string& url) {
  const std::string where = "the upstream address";
  // The address itself is never shown: a query or credentials in it may hold a secret.
  if (std::any_of(url.begin(), url.end(), [](unsigned char c) { return c <= ' ' || c == 0x7F; })) {
    refuse(where, "holds a space or control character");
  }
  if (url.find_first_of("?#") != std::string::npos) {
    refuse(where,
           "holds \"?\" or \"#\"; give the handler's address alone, the service adds the query");
  }
  const size_t schemeEnd = url.find("://");
  const std::string scheme = lowerCase(url.substr(0, schemeEnd));
  if (schemeEnd == std::string::npos || (scheme != "https" && scheme != "http")) {
    refuse(where, "must begin with https:// (http:// only to a loopback host)");
  }
  const std::string authority =
      url.substr(schemeEnd + 3, url.find('/', schemeEnd + 3) - schemeEnd - 3);
  if (authority.find('@') != std::string::npos) {
    refuse(where, "holds credentials (\"user@\"); the key belongs in the key file");
  }
  const size_t hostEnd = authority.starts_with('[') ? authority.find(']') + 1 : authority.find(':');
  const std::string host = authority.substr(0, hostEnd);
  const std::string port = hostEnd < authority.size() ? authority.substr(hostEnd) : "";
  if (!hostText(host)) refuse(where, "names no host, or not one a URL can hold");
  if (!port.empty() && (port.front() != ':' || !portNumber(port.substr(1)))) {
    refuse(where, "has a port that is not a number from 1 to 65535");
  }
  if (scheme == "http" && !loopbackHost(host)) {
    refuse(where, "uses http:// to " + host +
                      "; only https:// is taken, or http:// to a loopback host (127.0.0.0/8, "
                      "[::1], localhost)");
  }
}

}  // namespace velmora::service
