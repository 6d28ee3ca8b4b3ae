// A provider of numbers for the tests: an HTTP(S) server on 127.0.0.1 that speaks the handler
// protocol (`GET /stubs/handler_api.php?api_key=KEY&action=...`). By default it plays a provider:
//
// - every action checks the key first: BAD_KEY; an action it does not know: BAD_ACTION;
// - getBalance: ACCESS_BALANCE:balance;
// - getNumber: BAD_SERVICE without a service, NO_NUMBERS when the stock is spent,
//   WRONG_MAX_PRICE:price when maxPrice is below the price, NO_BALANCE when the balance is; else
//   ACCESS_NUMBER:id:phone, ids beyond 2^32, phones with or without a leading "+";
// - getStatus: STATUS_WAIT_CODE until the SMS is due, then STATUS_OK:code (and so on after it);
//   after another SMS was asked for, STATUS_WAIT_RETRY:lastcode until the new one is due;
//   STATUS_CANCEL once cancelled; NO_ACTIVATION for an id it never granted;
// - getStatusV2: JSON whose "sms" holds "code" and "text" once the SMS has come, null before;
//   BAD_ACTION when switched off;
// - setStatus 8: EARLY_CANCEL_DENIED for the first cancels of each activation, as many as set,
//   then ACCESS_CANCEL; BAD_STATUS once an SMS has come (it is paid for). 6: ACCESS_ACTIVATION
//   once an SMS has come. 3: ACCESS_RETRY_GET once an SMS has come, the new SMS due as the
//   first was. 6 and 3 before any SMS, and any other step: BAD_STATUS. ALREADY_CANCEL and
//   ALREADY_FINISH for an activation that ended;
// - getPrices: {"COUNTRY": {"SERVICE": {"cost": price, "count": stock}}} for the service and
//   country asked.
//
// A test can instead script the raw answer (body, HTTP status, Location header, delay) of the
// next requests of an action, in-process or from outside through the control path:
//
//   /control/script?action=getNumber&body=NO_NUMBERS[&status=500][&times=2][&location=URL]
//                   [&delay-ms=100]
//   /control/set?sms-delay=2&early-refusals=1   (settings named as on the command line)
//   /control/requests                            (the query of every request, a line each)
//
// Every request but the control path's is recorded, key included.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct MHD_Daemon;

namespace velmora::testing {

// How the simulated provider behaves; each can be changed while it runs.
struct FakeProviderSettings {
  std::string key = "fake-provider-key";
  bool plusSign = true;  // phones granted as "+8613800000001" rather than "8613800000001"
  // An SMS is due this long after the grant (or the request for another SMS)...
  std::chrono::milliseconds smsDelay{0};
  // ... and after this many getStatus requests answered that it is not.
  int smsAfterPolls = 0;
  int earlyCancelRefusals = 0;  // cancels each activation refuses before one is taken
  bool statusV2 = true;         // false: getStatusV2 is BAD_ACTION
  std::string balance = "100.00";
  std::string price = "0.50";  // of every activation
  int stock = 1000;            // numbers left to grant
  // Both set (PEM texts): HTTPS with this certificate and key.
  std::string certificate = {};
  std::string privateKey = {};
};

// A raw answer given instead of the simulated one.
struct ScriptedAnswer {
  std::string body = {};
  unsigned status = 200;
  std::string location = {};           // sent as a Location header when not empty
  std::chrono::milliseconds delay{0};  // waited before the answer is sent
};

struct ReceivedRequest {
  std::string query;                              // as it came, percent-encoded
  std::map<std::string, std::string> parameters;  // decoded; api_key and action among them

  // The decoded value of a parameter; empty when it was not sent.
  std::string parameter(const std::string& name) const;
};

// Changes a setting named as on the command line ("sms-delay", "2.5"); false when the name or
// value is not understood.
bool setFakeProviderSetting(FakeProviderSettings& settings, std::string_view name,
                            std::string_view value);

class FakeProvider {
 public:
  using Clock = std::chrono::steady_clock;

  // Listens on 127.0.0.1:port (0: a free port). Throws std::runtime_error when it cannot.
  explicit FakeProvider(FakeProviderSettings settings = {}, int port = 0);
  ~FakeProvider();
  FakeProvider(const FakeProvider&) = delete;
  FakeProvider& operator=(const FakeProvider&) = delete;

  int port() const { return port_; }
  // The handler's address: "http://127.0.0.1:PORT/stubs/handler_api.php" (https with TLS).
  std::string url() const;

  // The next `times` requests of `action` get `answer`, after those scripted before.
  void script(const std::string& action, const ScriptedAnswer& answer, int times = 1);
  // setFakeProviderSetting while it runs.
  bool set(std::string_view name, std::string_view value);
  // Every request received, in order.
  std::vector<ReceivedRequest> requests() const;
  // How many requests of `action` were received.
  size_t count(std::string_view action) const;

  // What the server answers a request: handler or control path. Public for the server's
  // callback alone.
  struct Answer {
    unsigned status = 200;
    std::string body;
    std::string location;
    std::string contentType = "text/plain";
  };
  Answer answer(std::string_view path, const ReceivedRequest& request);

 private:
  struct Activation {
    Clock::time_point smsDue;  // from the grant or the request for another SMS
    int pollsWaiting = 0;      // getStatus requests answered that the SMS is not due, since then
    std::string code;          // of the SMS that came; empty while one is awaited
    std::string lastCode;      // of the SMS before, while another is awaited
    int cancelsRefused = 0;
    bool cancelled = false;
    bool finished = false;
  };

  Answer control(std::string_view path, const ReceivedRequest& request);
  std::string simulated(const ReceivedRequest& request);
  std::string grant(const ReceivedRequest& request);
  std::string status(Activation& activation);
  std::string statusV2(const Activation& activation) const;
  std::string step(Activation& activation, std::string_view step);
  std::string prices(const ReceivedRequest& request) const;
  // Waits `delay`, or less when the server stops.
  void wait(std::chrono::milliseconds delay);

  mutable std::mutex mutex_;
  std::condition_variable stopping_;
  bool stopped_ = false;
  FakeProviderSettings settings_;
  std::map<std::string, std::deque<ScriptedAnswer>, std::less<>> scripts_;
  std::vector<ReceivedRequest> requests_;
  std::map<std::string, Activation, std::less<>> activations_;
  long long granted_ = 0;  // activations granted, for ids and phones
  long long smsSent_ = 0;  // SMS sent, for their codes
  MHD_Daemon* daemon_ = nullptr;
  int port_ = 0;
  bool tls_ = false;
};

// The standalone program's command line: --port N and every setting as --name value
// (--key, --sms-delay SECONDS, --sms-after-polls N, --early-refusals N, --plus yes|no,
// --status-v2 yes|no, --balance, --price, --stock, --tls-cert FILE --tls-key FILE).
inline constexpr const char* kFakeProviderUsage =
    "usage: fake-provider [--port N] [--key KEY] [--sms-delay SECONDS] [--sms-after-polls N]\n"
    "                     [--early-refusals N] [--plus yes|no] [--status-v2 yes|no]\n"
    "                     [--balance AMOUNT] [--price AMOUNT] [--stock N]\n"
    "                     [--tls-cert FILE --tls-key FILE]\n";

}  // namespace velmora::testing
