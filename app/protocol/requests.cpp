#include "app/protocol/requests.h"

#include "app/protocol/vocabulary.h"

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
  url += kEndpointFolder;
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
  return requestUrl(service, endpoint::kLogin,
                    {{parameter::kUserName, user}, {parameter::kPassword, password}});
}

std::string registerUrl(const ServiceAddress& service, std::string_view user,
                        std::string_view password, std::string_view code, std::string_view email) {
  return requestUrl(service, endpoint::kRegister,
                    {{parameter::kUserName, user},
                     {parameter::kPassword, password},
                     {parameter::kRegistrationCode, code},
                     {parameter::kEmail, email}});
}

std::string supportContactUrl(const ServiceAddress& service) {
  return requestUrl(service, endpoint::kSupportContact);
}

std::string projectListUrl(const ServiceAddress& service) {
  return requestUrl(service, endpoint::kProjectList);
}

std::string pendingOrderUrl(const ServiceAddress& service, std::string_view user,
                            std::string_view currentPassword) {
  return requestUrl(service, endpoint::kPendingOrder,
                    {{parameter::kUserName, user}, {parameter::kPassword, currentPassword}});
}

std::string deleteOrderUrl(const ServiceAddress& service, std::string_view user,
                           std::string_view currentPassword) {
  return requestUrl(service, endpoint::kDeleteOrder,
                    {{parameter::kUserName, user}, {parameter::kPassword, currentPassword}});
}

std::string submitOrderUrl(const ServiceAddress& service, std::string_view user,
                           std::string_view amount, std::string_view orderNumber,
                           std::string_view date, std::string_view currentPassword) {
  return requestUrl(service, endpoint::kSubmitOrder,
                    {{parameter::kUserName, user},
                     {parameter::kAmount, amount},
                     {parameter::kOrderNumber, orderNumber},
                     {parameter::kOrderDate, date},
                     {parameter::kPassword, currentPassword}});
}

std::string updateProfileUrl(const ServiceAddress& service, std::string_view user,
                             std::string_view password, std::string_view email,
                             std::string_view address, std::string_view currentPassword) {
  return requestUrl(service, endpoint::kUpdateProfile,
                    {{parameter::kUserName, user},
                     {parameter::kPassword, password},
                     {parameter::kEmail, email},
                     {parameter::kReceivingAddress, address},
                     {parameter::kCurrentPassword, currentPassword}});
}

std::string depositAddressUrl(const ServiceAddress& service) {
  return requestUrl(service, endpoint::kDepositAddress);
}

std::string numberUrl(const ServiceAddress& service, const Credentials& account,
                      const NumberChoice& choice) {
  return requestUrl(service, endpoint::kGetNumber,
                    {{parameter::kUserName, account.user},
                     {parameter::kPassword, account.password},
                     {parameter::kProject, choice.project},
                     {parameter::kRegion, choice.region},
                     {parameter::kCarrier, choice.carrier}});
}

std::string numberAgainUrl(const ServiceAddress& service, const Credentials& account,
                           const NumberChoice& choice, std::string_view number) {
  return requestUrl(service, endpoint::kGetNumber,
                    {{parameter::kUserName, account.user},
                     {parameter::kPassword, account.password},
                     {parameter::kProject, choice.project},
                     {parameter::kRegion, choice.region},
                     {parameter::kCarrier, choice.carrier},
                     {parameter::kNumber, number}});
}

std::string numberActionUrl(const ServiceAddress& service, NumberAction action,
                            const Credentials& account, std::string_view number) {
  constexpr std::string_view kEndpoints[] = {endpoint::kReadSms, endpoint::kRelease,
                                             endpoint::kBlacklist, endpoint::kAnotherSms};
  return requestUrl(service, kEndpoints[static_cast<int>(action)],
                    {{parameter::kUserName, account.user},
                     {parameter::kPassword, account.password},
                     {parameter::kNumber, number}});
}

std::string heldNumberUrl(const ServiceAddress& service, const Credentials& account) {
  return requestUrl(
      service, endpoint::kHeldNumber,
      {{parameter::kUserName, account.user}, {parameter::kPassword, account.password}});
}

}  // namespace velmora::protocol
