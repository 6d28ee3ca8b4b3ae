#include "net/http_exchange.h"

namespace velmora {
namespace {

NotifyFunction runtimeNotify = nullptr;

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
  if (!openInternetRoot()) return nullptr;
  auto* exchange = new Exchange;
  exchange->url = url;
  exchange->ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  exchange->endedWindow = endedWindow;
  exchange->endedMessage = endedMessage;
  exchange->number = number;
  HANDLE thread =
      exchange->ended ? CreateThread(nullptr, 0, runExchange, exchange, 0, nullptr) : nullptr;
  if (thread == nullptr) {
    delete exchange;
    return nullptr;
  }
  CloseHandle(thread);
  return HeldExchange(exchange);
}

NotifyFunction internetRuntimeNotify() {
  return runtimeNotify;
}

void keepInternetRuntimeNotify(NotifyFunction notify) {
  runtimeNotify = notify;
}

}  // namespace velmora
