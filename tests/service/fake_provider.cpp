#include "tests/service/fake_provider.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

namespace velmora::testing {

namespace {

// Activation ids start beyond 2^32, as a busy provider's do.
constexpr long long kFirstActivationId = 5'000'000'000;

// The request target as it came, kept for the request's handler (the library decodes the query
// before the handler sees it).
void* keepTarget(void*, const char* target, MHD_Connection*) {
  return new std::string(target);
}

void forgetTarget(void*, MHD_Connection*, void** target, MHD_RequestTerminationCode) {
  delete static_cast<std::string*>(*target);
  *target = nullptr;
}

MHD_Result collectParameter(void* requestPointer, MHD_ValueKind, const char* name,
                            const char* value) {
  static_cast<ReceivedRequest*>(requestPointer)->parameters.emplace(name, value ? value : "");
  return MHD_YES;
}

MHD_Result answerRequest(void* providerPointer, MHD_Connection* connection, const char* path,
                         const char*, const char*, const char*, size_t*, void** targetPointer) {
  const auto* target = static_cast<const std::string*>(*targetPointer);
  if (target == nullptr) return MHD_NO;
  ReceivedRequest request;
  const size_t mark = target->find('?');
  if (mark != std::string::npos) request.query = target->substr(mark + 1);
  MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &collectParameter, &request);
  const FakeProvider::Answer answer =
      static_cast<FakeProvider*>(providerPointer)->answer(path, request);
  MHD_Response* response = MHD_create_response_from_buffer(
      answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.contentType.c_str());
  if (!answer.location.empty()) {
    MHD_add_response_header(response, MHD_HTTP_HEADER_LOCATION, answer.location.c_str());
  }
  const MHD_Result queued = MHD_queue_response(connection, answer.status, response);
  MHD_destroy_response(response);
  return queued;
}

std::optional<long long> wholeNumber(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<bool> yesOrNo(std::string_view text) {
  if (text == "yes") return true;
  if (text == "no") return false;
  return std::nullopt;
}

double amountValue(const std::string& text) {
  return std::strtod(text.c_str(), nullptr);
}

FakeProvider::Answer reply(unsigned status, std::string body) {
  FakeProvider::Answer answer;
  answer.status = status;
  answer.body = std::move(body);
  return answer;
}

// The SMS a service sends with `code`, in Chinese so that the text crosses every conversion.
std::string smsTextWith(const std::string& code) {
  return "【测试】您的验证码是 " + code + "，5分钟内有效，请勿泄露。";
}

}  // namespace

bool setFakeProviderSetting(FakeProviderSettings& settings, std::string_view name,
                            std::string_view value) {
  if (name == "key") {
    settings.key = value;
  } else if (name == "balance") {
    settings.balance = value;
  } else if (name == "price") {
    settings.price = value;
  } else if (name == "plus" || name == "status-v2") {
    const std::optional<bool> yes = yesOrNo(value);
    if (!yes) return false;
    (name == "plus" ? settings.plusSign : settings.statusV2) = *yes;
  } else if (name == "sms-delay") {
    double seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || !(seconds >= 0)) {
      return false;
    }
    settings.smsDelay = std::chrono::milliseconds(std::llround(seconds * 1000));
  } else if (name == "sms-after-polls" || name == "early-refusals" || name == "stock") {
    const std::optional<long long> number = wholeNumber(value);
    if (!number || *number < 0 || *number > 1'000'000'000) return false;
    const int whole = static_cast<int>(*number);
    if (name == "sms-after-polls") settings.smsAfterPolls = whole;
    if (name == "early-refusals") settings.earlyCancelRefusals = whole;
    if (name == "stock") settings.stock = whole;
  } else {
    return false;
  }
  return true;
}

std::string ReceivedRequest::parameter(const std::string& name) const {
  const auto found = parameters.find(name);
  return found == parameters.end() ? std::string() : found->second;
}

FakeProvider::FakeProvider(FakeProviderSettings settings, int port)
    : settings_(std::move(settings)) {
  tls_ = !settings_.certificate.empty() && !settings_.privateKey.empty();
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const MHD_OptionItem tlsOptions[] = {
      {MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(settings_.certificate.c_str())},
      {MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(settings_.privateKey.c_str())},
      {MHD_OPTION_END, 0, nullptr}};
  // A thread a connection, so that a delayed answer holds up no other request.
  daemon_ = MHD_start_daemon(
      MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION | (tls_ ? MHD_USE_TLS : 0), 0,
      nullptr, nullptr, &answerRequest, this,             //
      MHD_OPTION_SOCK_ADDR, &address,                     //
      MHD_OPTION_URI_LOG_CALLBACK, &keepTarget, nullptr,  //
      MHD_OPTION_NOTIFY_COMPLETED, &forgetTarget, nullptr, MHD_OPTION_ARRAY,
      tls_ ? tlsOptions : tlsOptions + 2, MHD_OPTION_END);
  if (daemon_ == nullptr) throw std::runtime_error("the fake provider cannot listen");
  port_ = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT)->port;
}

FakeProvider::~FakeProvider() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  stopping_.notify_all();
  MHD_stop_daemon(daemon_);
}

std::string FakeProvider::url() const {
  return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) +
         "/stubs/handler_api.php";
}

void FakeProvider::script(const std::string& action, const ScriptedAnswer& answer, int times) {
  const std::lock_guard lock(mutex_);
  std::deque<ScriptedAnswer>& queue = scripts_[action];
  for (int i = 0; i < times; ++i) queue.push_back(answer);
}

bool FakeProvider::set(std::string_view name, std::string_view value) {
  const std::lock_guard lock(mutex_);
  return setFakeProviderSetting(settings_, name, value);
}

std::vector<ReceivedRequest> FakeProvider::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

size_t FakeProvider::count(std::string_view action) const {
  const std::lock_guard lock(mutex_);
  size_t total = 0;
  for (const ReceivedRequest& request : requests_) total += request.parameter("action") == action;
  return total;
}

void FakeProvider::wait(std::chrono::milliseconds delay) {
  std::unique_lock lock(mutex_);
  stopping_.wait_for(lock, delay, [this] { return stopped_; });
}

FakeProvider::Answer FakeProvider::answer(std::string_view path, const ReceivedRequest& request) {
  if (path.starts_with("/control/")) return control(path, request);
  std::optional<ScriptedAnswer> scripted;
  Answer answer;
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(request);
    const auto queue = scripts_.find(request.parameter("action"));
    if (queue != scripts_.end() && !queue->second.empty()) {
      scripted = queue->second.front();
      queue->second.pop_front();
    } else {
      answer.body = simulated(request);
      if (answer.body.starts_with('{')) answer.contentType = "application/json";
    }
  }
  if (!scripted) return answer;
  wait(scripted->delay);
  answer = reply(scripted->status, scripted->body);
  answer.location = scripted->location;
  return answer;
}

FakeProvider::Answer FakeProvider::control(std::string_view path, const ReceivedRequest& request) {
  if (path == "/control/script") {
    ScriptedAnswer scripted;
    scripted.body = request.parameter("body");
    scripted.location = request.parameter("location");
    const std::optional<long long> status = wholeNumber(request.parameter("status"));
    const std::optional<long long> times = wholeNumber(request.parameter("times"));
    const std::optional<long long> delay = wholeNumber(request.parameter("delay-ms"));
    if (status) scripted.status = static_cast<unsigned>(*status);
    if (delay) scripted.delay = std::chrono::milliseconds(*delay);
    if (request.parameter("action").empty()) return reply(400, "no action");
    script(request.parameter("action"), scripted, times ? static_cast<int>(*times) : 1);
    return reply(200, "OK");
  }
  if (path == "/control/set") {
    for (const auto& [name, value] : request.parameters) {
      if (!set(name, value)) return reply(400, "not understood: " + name);
    }
    return reply(200, "OK");
  }
  if (path == "/control/requests") {
    std::string lines;
    for (const ReceivedRequest& received : requests()) lines += received.query + "\n";
    return reply(200, lines);
  }
  return reply(404, "");
}

std::string FakeProvider::simulated(const ReceivedRequest& request) {
  const std::string action = request.parameter("action");
  if (request.parameter("api_key") != settings_.key) return "BAD_KEY";
  if (action == "getBalance") return "ACCESS_BALANCE:" + settings_.balance;
  if (action == "getNumber") return grant(request);
  if (action == "getPrices") return prices(request);
  if (action == "getStatusV2" && !settings_.statusV2) return "BAD_ACTION";
  if (action != "getStatus" && action != "getStatusV2" && action != "setStatus") {
    return "BAD_ACTION";
  }
  const auto found = activations_.find(request.parameter("id"));
  if (found == activations_.end()) return "NO_ACTIVATION";
  if (action == "getStatus") return status(found->second);
  if (action == "getStatusV2") return statusV2(found->second);
  return step(found->second, request.parameter("status"));
}

std::string FakeProvider::grant(const ReceivedRequest& request) {
  if (request.parameter("service").empty()) return "BAD_SERVICE";
  if (settings_.stock <= 0) return "NO_NUMBERS";
  const double price = amountValue(settings_.price);
  const std::string maxPrice = request.parameter("maxPrice");
  if (!maxPrice.empty() && amountValue(maxPrice) < price) {
    return "WRONG_MAX_PRICE:" + settings_.price;
  }
  if (amountValue(settings_.balance) < price) return "NO_BALANCE";
  --settings_.stock;
  ++granted_;
  const std::string id = std::to_string(kFirstActivationId + granted_);
  char phone[32];
  std::snprintf(phone, sizeof phone, "%s86138%08lld", settings_.plusSign ? "+" : "", granted_);
  activations_[id].smsDue = Clock::now() + settings_.smsDelay;
  return "ACCESS_NUMBER:" + id + ":" + phone;
}

std::string FakeProvider::status(Activation& activation) {
  if (activation.cancelled) return "STATUS_CANCEL";
  if (!activation.code.empty()) return "STATUS_OK:" + activation.code;
  if (Clock::now() >= activation.smsDue && activation.pollsWaiting >= settings_.smsAfterPolls) {
    ++smsSent_;
    // Six digits, a different code for each of the first 900000 SMS.
    activation.code = std::to_string(100000 + smsSent_ * 7919 % 900000);
    return "STATUS_OK:" + activation.code;
  }
  ++activation.pollsWaiting;
  if (activation.lastCode.empty()) return "STATUS_WAIT_CODE";
  return "STATUS_WAIT_RETRY:" + activation.lastCode;
}

std::string FakeProvider::statusV2(const Activation& activation) const {
  nlohmann::json sms = nullptr;
  if (!activation.code.empty()) {
    sms = {{"dateTime", "2026-12-01 12:00:00"},
           {"code", activation.code},
           {"text", smsTextWith(activation.code)}};
  }
  return nlohmann::json{{"verificationType", 0}, {"sms", sms}, {"call", nullptr}}.dump();
}

std::string FakeProvider::step(Activation& activation, std::string_view step) {
  if (step != "3" && step != "6" && step != "8") return "BAD_STATUS";
  if (activation.cancelled) return "ALREADY_CANCEL";
  if (activation.finished) return "ALREADY_FINISH";
  const bool smsCame = !activation.code.empty() || !activation.lastCode.empty();
  if (step == "8") {
    if (smsCame) return "BAD_STATUS";
    if (activation.cancelsRefused < settings_.earlyCancelRefusals) {
      ++activation.cancelsRefused;
      return "EARLY_CANCEL_DENIED";
    }
    activation.cancelled = true;
    return "ACCESS_CANCEL";
  }
  if (!smsCame) return "BAD_STATUS";
  if (step == "6") {
    activation.finished = true;
    if (activation.code.empty()) activation.code = activation.lastCode;
    return "ACCESS_ACTIVATION";
  }
  if (!activation.code.empty()) {  // not yet awaiting another
    activation.lastCode = activation.code;
    activation.code.clear();
    activation.smsDue = Clock::now() + settings_.smsDelay;
    activation.pollsWaiting = 0;
  }
  return "ACCESS_RETRY_GET";
}

std::string FakeProvider::prices(const ReceivedRequest& request) const {
  const std::string service = request.parameter("service");
  if (service.empty()) return "BAD_SERVICE";
  const std::string country =
      request.parameter("country").empty() ? "0" : request.parameter("country");
  nlohmann::json cost = nlohmann::json::parse(settings_.price, nullptr, false);
  if (cost.is_discarded()) cost = settings_.price;
  nlohmann::json prices;
  prices[country][service]["cost"] = cost;
  prices[country][service]["count"] = settings_.stock;
  return prices.dump();
}

}  // namespace velmora::testing
