#include "app/protocol/requests.h"

namespace velmora::protocol {
namespace {

bool keptAsIs(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~' ||
         byte == '/';
}

}  // namespace

std::string encodeQueryValue(std::string_view value) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(value.size());
  for (unsigned char byte : value) {
    if (keptAsIs(byte)) {
      encoded += static_cast<char>(byte);
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

std::string requestUrl(const ServiceAddress& service, std::string_view endpoint,
                       std::initializer_list<QueryField> query) {
  std::string url(service.scheme);
  url += "://";
  url += service.host;
  url += "/E/qx/";
  url += endpoint;
  char separator = '?';
  for (const auto& [name, value] : query) {
    url += separator;
    url += name;
    url += '=';
    url += encodeQueryValue(value);
    separator = '&';
  }
  return url;
}

std::string loginUrl(const ServiceAddress& service, std::string_view user,
                     std::string_view password) {
  return requestUrl(service, "login.php", {{"username", user}, {"password", password}});
}

std::string registerUrl(const ServiceAddress& service, std::string_view user,
                        std::string_view password, std::string_view code, std::string_view email) {
  return requestUrl(service, "restuser.php",
                    {{"username", user}, {"password", password}, {"sj", code}, {"email", email}});
}

std::string supportContactUrl(const ServiceAddress& service) {
  return requestUrl(service, "getkf.php");
}

std::string projectListUrl(const ServiceAddress& service) {
  return requestUrl(service, "getxm.php");
}

std::string pendingOrderUrl(const ServiceAddress& service, std::string_view user) {
  return requestUrl(service, "getpay.php", {{"username", user}});
}

std::string deleteOrderUrl(const ServiceAddress& service, std::string_view user) {
  return requestUrl(service, "delpay.php", {{"username", user}});
}

std::string submitOrderUrl(const ServiceAddress& service, std::string_view user,
                           std::string_view amount, std::string_view orderNumber,
                           std::string_view date) {
  return requestUrl(service, "restpay.php",
                    {{"username", user}, {"qt", amount}, {"cd", orderNumber}, {"time", date}});
}

std::string updateProfileUrl(const ServiceAddress& service, std::string_view user,
                             std::string_view password, std::string_view email,
                             std::string_view address) {
  return requestUrl(
      service, "update.php",
      {{"username", user}, {"password", password}, {"email", email}, {"d2", address}});
}

std::string depositAddressUrl(const ServiceAddress& service) {
  return requestUrl(service, "getadd.php");
}

std::string numberUrl(const ServiceAddress& service, const Credentials& account,
                      const NumberChoice& choice) {
  return requestUrl(service, "getnum.php",
                    {{"username", account.user},
                     {"password", account.password},
                     {"xm", choice.project},
                     {"dq", choice.region},
                     {"yys", choice.carrier}});
}

std::string numberAgainUrl(const ServiceAddress& service, const Credentials& account,
                           const NumberChoice& choice, std::string_view number) {
  return requestUrl(service, "getnum.php",
                    {{"username", account.user},
                     {"password", account.password},
                     {"xm", choice.project},
                     {"dq", choice.region},
                     {"yys", choice.carrier},
                     {"hm", number}});
}

std::string numberActionUrl(const ServiceAddress& service, NumberAction action,
                            const Credentials& account, std::string_view number) {
  constexpr std::string_view kEndpoints[] = {"getsms.php", "release.php", "blacklist.php"};
  return requestUrl(service, kEndpoints[static_cast<int>(action)],
                    {{"username", account.user}, {"password", account.password}, {"hm", number}});
}

}  // namespace velmora::protocol
