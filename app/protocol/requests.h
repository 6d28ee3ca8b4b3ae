// The requests the client sends: one GET per request to an endpoint under "/E/qx/" on the
// service's address, every input in the query string in a fixed order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::protocol {

// A query value as it goes out: bytes other than A-Z a-z 0-9 - . _ ~ / become %XX, so that "&",
// "#", "%", "+", "=" or a space typed by the user reach the service as typed and never cut or
// add a field. GBK bytes keep their values.
std::string encodeQueryValue(std::string_view value);

using QueryField = std::pair<std::string_view, std::string_view>;  // name, value

// Where the service is, as the program data holds it: the scheme ("http", or "https" for a
// service reached over TLS) and the host with its port.
struct ServiceAddress {
  std::string_view scheme;
  std::string_view host;
};

// scheme "://" host "/E/qx/" endpoint, then "?" name "=" value joined by "&".
std::string requestUrl(const ServiceAddress& service, std::string_view endpoint,
                       std::initializer_list<QueryField> query = {});

std::string loginUrl(const ServiceAddress& service, std::string_view user,
                     std::string_view password);
std::string registerUrl(const ServiceAddress& service, std::string_view user,
                        std::string_view password, std::string_view code, std::string_view email);
std::string supportContactUrl(const ServiceAddress& service);
std::string projectListUrl(const ServiceAddress& service);
// The order and profile requests carry the password the account logged in with (or last saved)
// after their documented parameters, as proof of the account: `password`, or `oldpassword` on
// update.php, where `password` is the new one.
std::string pendingOrderUrl(const ServiceAddress& service, std::string_view user,
                            std::string_view currentPassword);
std::string deleteOrderUrl(const ServiceAddress& service, std::string_view user,
                           std::string_view currentPassword);
std::string submitOrderUrl(const ServiceAddress& service, std::string_view user,
                           std::string_view amount, std::string_view orderNumber,
                           std::string_view date, std::string_view currentPassword);
std::string updateProfileUrl(const ServiceAddress& service, std::string_view user,
                             std::string_view password, std::string_view email,
                             std::string_view address, std::string_view currentPassword);
std::string depositAddressUrl(const ServiceAddress& service);

// The number endpoints: every request carries the account's user name and password.
struct Credentials {
  std::string_view user;
  std::string_view password;
};
// What the user picked for a number: the project's name, the region and the operator.
struct NumberChoice {
  std::string_view project;
  std::string_view region;
  std::string_view carrier;
};
// getnum.php: any free number of the choice.
std::string numberUrl(const ServiceAddress& service, const Credentials& account,
                      const NumberChoice& choice);
// getnum.php for one number again (empty: the session got none yet).
std::string numberAgainUrl(const ServiceAddress& service, const Credentials& account,
                           const NumberChoice& choice, std::string_view number);
// What can be done with a number the account holds; a further SMS only once its SMS has come.
enum class NumberAction { kReadSms, kRelease, kBlacklist, kAnotherSms };
// getsms.php, release.php, blacklist.php or again.php for the number.
std::string numberActionUrl(const ServiceAddress& service, NumberAction action,
                            const Credentials& account, std::string_view number);
// held.php: the number the account holds, if any.
std::string heldNumberUrl(const ServiceAddress& service, const Credentials& account);

}  // namespace velmora::protocol
