// A provider of numbers and their SMS, reached over the handler protocol that SMS-activation
// providers document: `GET URL?api_key=KEY&action=...`, answered in plain text. The service
// resells what the provider grants; this is the only place that talks to it.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::service {

// Every word of the protocol the service reads, each matched as a whole token (NO_BALANCE is
// not NO_BALANCE_FORWARD). Anything else, an HTML page, an empty body or no answer at all, is
// kUnknown or kNoAnswer, and changes nothing.
enum class ProviderWord {
  kAccessBalance,
  kAccessNumber,
  kNoNumbers,
  kNoBalance,
  kBadService,
  kBadKey,
  kBadAction,
  kErrorSql,
  kBanned,
  kWrongMaxPrice,
  kStatusWaitCode,
  kStatusWaitRetry,
  kStatusWaitResend,
  kStatusOk,
  kStatusCancel,
  kNoActivation,
  kAccessRetryGet,
  kAccessActivation,
  kAccessCancel,
  kEarlyCancelDenied,
  kBadStatus,
  kAlreadyFinish,
  kAlreadyCancel,
  kUnknown,   // a body that is none of the words above where they are expected
  kNoAnswer,  // no body: the connection failed, timed out, was too long or redirected
};

// The word as the provider writes it ("NO_BALANCE"), or "unknown answer" / "no answer": for the
// operator's log, which never holds the key.
std::string_view providerWordText(ProviderWord word);

// The steps setStatus takes on an activation.
enum class ActivationStep {
  kAnotherSms = 3,
  kComplete = 6,
  kCancel = 8,
};

struct BalanceAnswer {
  ProviderWord word = ProviderWord::kNoAnswer;  // kAccessBalance when read
  std::string amount;                           // as the provider wrote it
};

struct GetNumberRequest {
  std::string service;   // the provider's service code ("wx")
  int country = 0;       // the provider's country number
  std::string carrier;   // the provider's operator code; empty: not sent
  std::string maxPrice;  // empty: not sent
};

struct GrantAnswer {
  ProviderWord word = ProviderWord::kNoAnswer;  // kAccessNumber when granted
  std::string id;     // the activation's id, as text: ids may exceed 32 bits
  std::string phone;  // digits only, a leading "+" dropped
  // kBanned: what the provider says of the ban (until when); kWrongMaxPrice: its lowest price.
  std::string detail = {};
};

struct StatusAnswer {
  ProviderWord word = ProviderWord::kNoAnswer;
  // kStatusOk: the code, split from the word at the first ":" only; kStatusWaitRetry: the last
  // code.
  std::string code;
  // kStatusOk: the SMS's whole text when the provider answers getStatusV2 with one, otherwise
  // the code.
  std::string smsText;
};

struct PriceAnswer {
  bool read = false;  // false: no answer, or none for that service and country
  std::string cost;   // as the provider wrote it
  long long count = 0;
};

// The longest reply read; a longer one is no answer.
inline constexpr size_t kMaxProviderReplyBytes = 64 * 1024;

struct ProviderSettings {
  std::string url;                // the handler's address: https, or http to a loopback address
  std::string key;                // never logged, never in an error message
  double requestsPerSecond = 10;  // all requests together; more wait their turn; 0: no cap
  std::chrono::milliseconds connectTimeout = std::chrono::seconds(5);
  std::chrono::milliseconds exchangeTimeout = std::chrono::seconds(20);  // connecting included
  // A PEM file of the certificate authorities trusted for https; empty: the system's.
  std::string certificateAuthorities = {};
};

// Safe to use from any number of threads at once. Each request is bounded: 5 s to connect, 20 s
// for the whole exchange, 64 KB of reply, no redirects, only http and https, the certificate
// and its host verified. A request waits, if need be, until the rate allows it. A reply is read
// whatever its HTTP status, but a redirection is no answer. No text an answer holds contains
// the key.
class Provider {
 public:
  explicit Provider(ProviderSettings settings);
  ~Provider();
  Provider(const Provider&) = delete;
  Provider& operator=(const Provider&) = delete;

  BalanceAnswer balance();
  GrantAnswer getNumber(const GetNumberRequest& request);
  // getStatus, and getStatusV2 for the SMS's whole text once the status is kStatusOk.
  StatusAnswer status(const std::string& id);
  ProviderWord setStatus(const std::string& id, ActivationStep step);
  // getPrices for one service and country, for the operator's check.
  PriceAnswer price(const std::string& service, int country);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace velmora::service
