#include "net/win32/http_exchange.h"

#include "net/win32/internet_session.h"

namespace velmora::net {
namespace {

runtime::NotifyFunction runtimeNotify = nullptr;
DWORD longestRequestMilliseconds = 30000;
LONG exchangesRunning = 0;

DWORD WINAPI runExchange(void* argument) {
  auto* exchange = static_cast<Exchange*>(argument);
  exchange->whole =
      fetch(exchange->url.c_str(), exchange->deadline, exchange->watch, exchange->body);
  SetEvent(exchange->ended);
  if (exchange->endedWindow != nullptr)
    PostMessageW(exchange->endedWindow, exchange->endedMessage, exchange->number, 0);
  letGo(exchange);
  InterlockedDecrement(&exchangesRunning);
  return 0;
}

}  // namespace

bool ExchangeWatch::watch(HINTERNET request) {
  EnterCriticalSection(&lock_);
  const bool givenUp = givenUp_;
  if (!givenUp) request_ = request;
  LeaveCriticalSection(&lock_);
  if (givenUp) InternetCloseHandle(request);
  return !givenUp;
}

void ExchangeWatch::closeRequest() {
  EnterCriticalSection(&lock_);
  HINTERNET request = request_;
  request_ = nullptr;
  LeaveCriticalSection(&lock_);
  if (request != nullptr) InternetCloseHandle(request);
}

// Once given up, watch() closes any request it is handed, so the one watched now is the last.
void ExchangeWatch::giveUp() {
  EnterCriticalSection(&lock_);
  givenUp_ = true;
  LeaveCriticalSection(&lock_);
  closeRequest();
}

bool ExchangeWatch::givenUp() {
  EnterCriticalSection(&lock_);
  const bool givenUp = givenUp_;
  LeaveCriticalSection(&lock_);
  return givenUp;
}

DWORD longestRequest() {
  return longestRequestMilliseconds;
}

void setLongestRequest(DWORD milliseconds) {
  longestRequestMilliseconds = milliseconds;
}

void letGo(Exchange* exchange) {
  if (InterlockedDecrement(&exchange->holders) == 0) delete exchange;
}

HeldExchange startExchange(const char* url, HWND endedWindow, UINT endedMessage, WPARAM number) {
  if (internetSession() == nullptr) return nullptr;
  auto* exchange = new Exchange;
  exchange->url = url;
  exchange->deadline = GetTickCount() + longestRequest();
  exchange->ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  exchange->endedWindow = endedWindow;
  exchange->endedMessage = endedMessage;
  exchange->number = number;
  // The system's thread pool keeps its threads between requests, where a thread made for each
  // request would cost the window system its making and ending every time. A long function may
  // hold its thread (an exchange waits for its peer), so the pool makes others as it needs them.
  InterlockedIncrement(&exchangesRunning);
  if (!exchange->ended || !QueueUserWorkItem(runExchange, exchange, WT_EXECUTELONGFUNCTION)) {
    InterlockedDecrement(&exchangesRunning);
    delete exchange;
    return nullptr;
  }
  return HeldExchange(exchange);
}

LONG runningExchanges() {
  return exchangesRunning;
}

runtime::NotifyFunction internetRuntimeNotify() {
  return runtimeNotify;
}

void keepInternetRuntimeNotify(runtime::NotifyFunction notify) {
  runtimeNotify = notify;
}

}  // namespace velmora::net
