// One HTTP exchange of the internet library, as the HTTP read command makes it: the GET of a URL
// and its whole body. It runs on a thread of its own, watched by another that can give it up.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

#include "net/byte_buffer.h"
#include "runtime/program_image.h"

namespace velmora::net {

// The request handle of an exchange in progress, and whether the exchange was given up. Windows
// ends a call blocked on a request handle when another thread closes the handle; Wine lets the
// call go on until the peer sends or stops, so the exchange also asks before each call whether to
// go on.
class ExchangeWatch {
 public:
  ExchangeWatch() { InitializeCriticalSection(&lock_); }
  ~ExchangeWatch() { DeleteCriticalSection(&lock_); }
  ExchangeWatch(const ExchangeWatch&) = delete;
  ExchangeWatch& operator=(const ExchangeWatch&) = delete;

  // The exchange's thread, once its request is open: false when the exchange was given up
  // already, and then the handle has been closed here.
  bool watch(HINTERNET request);
  // The exchange's thread, when it is done with the request: closes the handle unless the
  // watcher closed it.
  void closeRequest();
  // The watcher: the exchange ends as soon as it can, and its body does not count.
  void giveUp();
  bool givenUp();

 private:
  CRITICAL_SECTION lock_;
  HINTERNET request_ = nullptr;
  bool givenUp_ = false;
};

// Whatever the peer does, a request ends for the program within this time: 30 seconds, which
// tests shorten.
DWORD longestRequest();
void setLongestRequest(DWORD milliseconds);

// One exchange; true when body holds the whole reply. Once it was given up or its deadline has
// passed, it makes no further call that waits for the peer. On Windows giving it up also ends a
// call that waits; under Wine that call goes on until the peer's next bytes arrive or the peer
// has been quiet for the receive wait (15 seconds at most, and no more than the time left when
// the request went out), and a peer that trickles the head of its reply holds the exchange as
// long as it trickles.
bool fetch(const char* url, DWORD deadline, ExchangeWatch& watch, ByteBuffer& body);

// An exchange on a thread of its own, shared by the thread that started it and the exchange's
// thread; the last of the two to let go deletes it. Its outcome is read once `ended` is set.
struct Exchange {
  std::string url;
  DWORD deadline = 0;  // the tick count by which the exchange ends
  ByteBuffer body;
  bool whole = false;
  ExchangeWatch watch;
  HANDLE ended = nullptr;  // set by the exchange's thread when it is done
  // Where the end is posted as well, with the request's number as its first parameter; none for
  // a null window.
  HWND endedWindow = nullptr;
  UINT endedMessage = 0;
  WPARAM number = 0;
  LONG holders = 2;

  ~Exchange() { CloseHandle(ended); }
};

void letGo(Exchange* exchange);
struct ExchangeHold {
  void operator()(Exchange* exchange) const { letGo(exchange); }
};
using HeldExchange = std::unique_ptr<Exchange, ExchangeHold>;

// Opens the session and starts the exchange on a thread of its own, with its deadline the longest
// request from now; null when it could not start.
HeldExchange startExchange(const char* url, HWND endedWindow = nullptr, UINT endedMessage = 0,
                           WPARAM number = 0);

// The exchanges started whose thread has not ended yet.
LONG runningExchanges();

// The runtime's notify function, for the library's calls into the runtime; null until the
// library has started and after it has shut down.
runtime::NotifyFunction internetRuntimeNotify();
void keepInternetRuntimeNotify(runtime::NotifyFunction notify);

}  // namespace velmora::net
