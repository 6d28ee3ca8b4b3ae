// The provider's transport: one bounded GET a request through libcurl, at the rate the settings
// allow, with the answers read by provider_answers.
#include "service/numbers/provider.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "service/numbers/provider_answers.h"

namespace velmora::service {

namespace {

using Clock = std::chrono::steady_clock;

// libcurl's global state, set up once before the first handle of the process.
void startCurl() {
  static const CURLcode started = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (started != CURLE_OK) throw std::runtime_error("cannot start libcurl");
}

// Every byte but A-Z a-z 0-9 - . _ ~ as %XX.
std::string percentEncoded(std::string_view text) {
  constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

// A request's parameters after its key and action, in the order sent.
using Parameters = std::vector<std::pair<std::string_view, std::string>>;

// Collects the reply; returning less than it was given makes libcurl end the exchange.
size_t keepReply(char* data, size_t, size_t size, void* replyPointer) {
  auto& reply = *static_cast<std::string*>(replyPointer);
  if (reply.size() + size > kMaxProviderReplyBytes) return 0;
  reply.append(data, size);
  return size;
}

struct EasyHandleCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyHandleCleanup>;

Clock::duration turnInterval(double requestsPerSecond) {
  if (!(requestsPerSecond > 0)) return Clock::duration::zero();
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(1 / requestsPerSecond));
}

}  // namespace

struct Provider::Connection {
  explicit Connection(ProviderSettings givenSettings)
      : settings(std::move(givenSettings)), interval(turnInterval(settings.requestsPerSecond)) {}

  // The body of the provider's reply to `action`; nothing when there was no answer.
  std::optional<std::string> exchange(std::string_view action, const Parameters& parameters);

  // A text from the provider with the key, should the provider have echoed it, as "***".
  std::string withoutKey(std::string text) const;

  const ProviderSettings settings;
  const Clock::duration interval;

 private:
  void awaitTurn();
  // A handle that no other request uses; each keeps its connection to the provider open for the
  // next request.
  EasyHandle takeHandle();
  void giveBack(EasyHandle handle);
  void prepare(CURL* curl, const std::string& url, std::string& reply) const;

  std::mutex mutex_;
  Clock::time_point nextTurn_;
  std::vector<EasyHandle> idleHandles_;
};

void Provider::Connection::awaitTurn() {
  Clock::time_point turn;
  {
    const std::lock_guard lock(mutex_);
    turn = std::max(Clock::now(), nextTurn_);
    nextTurn_ = turn + interval;
  }
  std::this_thread::sleep_until(turn);
}

EasyHandle Provider::Connection::takeHandle() {
  {
    const std::lock_guard lock(mutex_);
    if (!idleHandles_.empty()) {
      EasyHandle handle = std::move(idleHandles_.back());
      idleHandles_.pop_back();
      curl_easy_reset(handle.get());
      return handle;
    }
  }
  return EasyHandle(curl_easy_init());
}

void Provider::Connection::giveBack(EasyHandle handle) {
  const std::lock_guard lock(mutex_);
  idleHandles_.push_back(std::move(handle));
}

void Provider::Connection::prepare(CURL* curl, const std::string& url, std::string& reply) const {
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // time-outs without signals, for threads
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(settings.connectTimeout.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(settings.exchangeTimeout.count()));
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(kMaxProviderReplyBytes));
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!settings.certificateAuthorities.empty()) {
    curl_easy_setopt(curl, CURLOPT_CAINFO, settings.certificateAuthorities.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "velmora-service");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &keepReply);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
}

std::optional<std::string> Provider::Connection::exchange(std::string_view action,
                                                          const Parameters& parameters) {
  std::string url = settings.url + (settings.url.find('?') == std::string::npos ? "?" : "&") +
                    "api_key=" + percentEncoded(settings.key) + "&action=" + percentEncoded(action);
  for (const auto& [name, value] : parameters) {
    url += '&';
    url += name;
    url += '=' + percentEncoded(value);
  }
  awaitTurn();
  EasyHandle handle = takeHandle();
  if (!handle) return std::nullopt;
  std::string reply;
  prepare(handle.get(), url, reply);
  const CURLcode result = curl_easy_perform(handle.get());
  long status = 0;
  curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
  giveBack(std::move(handle));
  // The body of any other status is read: providers answer their words with 4xx and 5xx too.
  const bool redirected = status >= 300 && status < 400;
  if (result != CURLE_OK || redirected) return std::nullopt;
  return reply;
}

std::string Provider::Connection::withoutKey(std::string text) const {
  const std::string& key = settings.key;
  if (key.empty()) return text;
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 3)) {
    text.replace(at, key.size(), "***");
  }
  return text;
}

Provider::Provider(ProviderSettings settings) {
  startCurl();
  connection_ = std::make_unique<Connection>(std::move(settings));
}

Provider::~Provider() = default;

BalanceAnswer Provider::balance() {
  const std::optional<std::string> body = connection_->exchange("getBalance", {});
  if (!body) return {};
  return readBalanceAnswer(*body);
}

GrantAnswer Provider::getNumber(const GetNumberRequest& request) {
  Parameters parameters{{"service", request.service}, {"country", std::to_string(request.country)}};
  if (!request.carrier.empty()) parameters.emplace_back("operator", request.carrier);
  if (!request.maxPrice.empty()) parameters.emplace_back("maxPrice", request.maxPrice);
  const std::optional<std::string> body = connection_->exchange("getNumber", parameters);
  if (!body) return {};
  GrantAnswer answer = readGrantAnswer(*body);
  answer.detail = connection_->withoutKey(std::move(answer.detail));
  return answer;
}

StatusAnswer Provider::status(const std::string& id) {
  const std::optional<std::string> body = connection_->exchange("getStatus", {{"id", id}});
  if (!body) return {};
  StatusAnswer answer = readStatusAnswer(*body);
  answer.code = connection_->withoutKey(std::move(answer.code));
  if (answer.word != ProviderWord::kStatusOk) return answer;
  // The whole SMS when the provider tells it; the code alone otherwise.
  const std::optional<std::string> whole = connection_->exchange("getStatusV2", {{"id", id}});
  const std::optional<std::string> text = whole ? readSmsText(*whole) : std::nullopt;
  answer.smsText = text ? connection_->withoutKey(*text) : answer.code;
  return answer;
}

ProviderWord Provider::setStatus(const std::string& id, ActivationStep step) {
  const std::optional<std::string> body = connection_->exchange(
      "setStatus", {{"id", id}, {"status", std::to_string(static_cast<int>(step))}});
  if (!body) return ProviderWord::kNoAnswer;
  return readStepAnswer(*body);
}

PriceAnswer Provider::price(const std::string& service, int country) {
  const std::optional<std::string> body = connection_->exchange(
      "getPrices", {{"service", service}, {"country", std::to_string(country)}});
  if (!body) return {};
  return readPriceAnswer(*body, service, country);
}

}  // namespace velmora::service
