#include "net/win32/http_requests.h"

#include <windows.h>

#include <map>

#include "net/win32/http_exchange.h"
#include "runtime/commands/arguments.h"
#include "runtime/program_routine.h"
#include "runtime/value_blocks.h"

namespace velmora::net {
namespace {

constexpr UINT kRequestEnded = WM_APP + 1;
// How soon a routine that was held is offered again.
constexpr UINT kRetryDelay = 50;

// A request as the user-interface thread keeps it.
struct Request {
  HeldExchange exchange;
  uint32_t windowId = 0;
  runtime::ProgramRoutine routine = nullptr;
  bool ended = false;
  bool whole = false;  // ended with the whole body
};

HWND replyWindow = nullptr;
std::map<int32_t, Request> requests;
int32_t lastNumber = 0;

// The request has ended: its routine runs now, or a little later while it is held. The reply,
// taken or not, goes with the request.
void offerReply(int32_t number) {
  auto found = requests.find(number);
  if (found == requests.end()) return;
  const Request& request = found->second;
  runtime::NotifyFunction notify = internetRuntimeNotify();
  const auto call = static_cast<runtime::RoutineCall>(
      notify ? notify(runtime::kNotifyCallProgramRoutine, request.windowId,
                      reinterpret_cast<uintptr_t>(request.routine))
             : 0);
  if (call == runtime::RoutineCall::kHeld) {
    SetTimer(replyWindow, static_cast<UINT_PTR>(number), kRetryDelay, nullptr);
    return;
  }
  requests.erase(number);
}

// The request's exchange has ended, or its time is up. The end the exchange posted stays queued
// while a handler waits for a reply of its own (that wait takes only painting and timers), so
// the exchange itself says whether it ended: one that did has its reply, whichever came first.
void end(int32_t number) {
  auto found = requests.find(number);
  if (found == requests.end() || found->second.ended) return;
  Request& request = found->second;
  Exchange& exchange = *request.exchange;
  KillTimer(replyWindow, static_cast<UINT_PTR>(number));
  const bool exchangeEnded = WaitForSingleObject(exchange.ended, 0) == WAIT_OBJECT_0;
  if (!exchangeEnded) exchange.watch.giveUp();
  request.ended = true;
  request.whole = exchangeEnded && exchange.whole;
  offerReply(number);
}

// The request's timer: its time is up while it runs, or its held routine may run now.
void timerFired(int32_t number) {
  auto found = requests.find(number);
  if (found == requests.end()) return;
  if (found->second.ended) {
    KillTimer(replyWindow, static_cast<UINT_PTR>(number));
    offerReply(number);
  } else {
    end(number);
  }
}

LRESULT CALLBACK replyWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRequestEnded) {
    end(static_cast<int32_t>(wParam));
    return 0;
  }
  if (message == WM_TIMER) {
    timerFired(static_cast<int32_t>(wParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The message-only window that brings ended requests back to the user-interface thread.
HWND ensureReplyWindow() {
  if (replyWindow != nullptr) return replyWindow;
  static const wchar_t kClassName[] = L"_QV_HttpReplies";
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = replyWindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  replyWindow = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
  return replyWindow;
}

int32_t start(const char* url, uint32_t windowId, runtime::ProgramRoutine routine) {
  if (url == nullptr || url[0] == '\0' || routine == nullptr) return 0;
  if (ensureReplyWindow() == nullptr) return 0;
  const int32_t number = lastNumber + 1;
  HeldExchange exchange =
      startExchange(url, replyWindow, kRequestEnded, static_cast<WPARAM>(number));
  if (!exchange) return 0;
  lastNumber = number;
  requests[number] =
      Request{.exchange = std::move(exchange), .windowId = windowId, .routine = routine};
  SetTimer(replyWindow, static_cast<UINT_PTR>(number), longestRequest(), nullptr);
  return number;
}

void cancel(int32_t number) {
  auto found = requests.find(number);
  if (found == requests.end()) return;
  KillTimer(replyWindow, static_cast<UINT_PTR>(number));
  found->second.exchange->watch.giveUp();
  requests.erase(found);
}

}  // namespace

void startHttpRead(runtime::ResultRecord* result, int32_t argCount,
                   const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  const uint32_t windowId = arguments.record(2).value.low;
  const auto routine =
      reinterpret_cast<runtime::ProgramRoutine>(arguments.record(3).value.asPointer());
  result->value.setInt(start(arguments.text(1), windowId, routine));
}

void takeHttpReply(runtime::ResultRecord* result, int32_t argCount,
                   const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  auto found = requests.find(arguments.integer(1));
  if (found == requests.end() || !found->second.ended || !found->second.whole) return;
  Request& request = found->second;
  const ByteBuffer& body = request.exchange->body;
  result->value.setPointer(
      runtime::byteSetFromBytes(body.data(), static_cast<int32_t>(body.length())));
  request.whole = false;  // taken
}

void cancelHttpRead(runtime::ResultRecord*, int32_t argCount, const runtime::ArgRecord* args) {
  const runtime::Arguments arguments(argCount, args);
  cancel(arguments.integer(1));
}

void setInternetRuntimeNotify(runtime::NotifyFunction notify) {
  keepInternetRuntimeNotify(notify);
  if (notify != nullptr) return;
  while (!requests.empty()) cancel(requests.begin()->first);
}

}  // namespace velmora::net
