#include "net/win32/http_exchange.h"

#include "net/win32/internet_session.h"

namespace velmora::net {
namespace {

runtime::NotifyFunction runtimeNotify = nullptr;

DWORD WINAPI runExchange(void* argument) {
  auto* exchange = static_cast<Exchange*>(argument);
  exchange->whole = fetch(exchange->url.c_str(), exchange->body, &exchange->watch);
  SetEvent(exchange->ended);
  if (exchange->endedWindow != nullptr)
    PostMessageW(exchange->endedWindow, exchange->endedMessage, exchange->number, 0);
  letGo(exchange);
  return 0;
}

}  // namespace

void letGo(Exchange* exchange) {
  if (InterlockedDecrement(&exchange->holders) == 0) delete exchange;
}

HeldExchange startExchange(const char* url, HWND endedWindow, UINT endedMessage, WPARAM number) {
  if (internetSession() == nullptr) return nullptr;
  auto* exchange = new Exchange;
  exchange->url = url;
  exchange->ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  exchange->endedWindow = endedWindow;
  exchange->endedMessage = endedMessage;
  exchange->number = number;
  // The system's thread pool keeps its threads between requests, where a thread made for each
  // request would cost the window system its making and ending every time. A long function may
  // hold its thread (an exchange given up waits for its peer), so the pool makes others as it
  // needs them.
  if (!exchange->ended || !QueueUserWorkItem(runExchange, exchange, WT_EXECUTELONGFUNCTION)) {
    delete exchange;
    return nullptr;
  }
  return HeldExchange(exchange);
}

runtime::NotifyFunction internetRuntimeNotify() {
  return runtimeNotify;
}

void keepInternetRuntimeNotify(runtime::NotifyFunction notify) {
  runtimeNotify = notify;
}

}  // namespace velmora::net
