// One HTTP exchange of the internet library, as the HTTP read command makes it: the GET of a URL
// and its whole body. It may run on a thread of its own, watched by another that can give it up.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "net/byte_buffer.h"

namespace velmora {

// The request handle of an exchange in progress. Closing a request handle makes a call blocked
// on it return, so the thread that watches an exchange can end it whatever the peer does.
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

 private:
  CRITICAL_SECTION lock_;
  HINTERNET request_ = nullptr;
  bool givenUp_ = false;
};

// Opens the library's root handle if it is not yet open; false when it cannot be opened. Done on
// the user-interface thread before an exchange starts elsewhere.
bool openInternetRoot();

// One exchange; true when body holds the whole reply. With a watch, the exchange can be given up
// from another thread.
bool fetch(const char* url, ByteBuffer& body, ExchangeWatch* watch = nullptr);

}  // namespace velmora
