// The session's settings, and what an exchange sets, seen through the program's import entry of
// InternetSetOptionA: Wine answers no query of the number of connection attempts.
// clang-format off
#include <winsock2.h>  // before windows.h, for the loopback peer
#include <windows.h>
#include <wininet.h>
// clang-format on

#include "net/win32/internet_session.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "net/win32/http_read.h"
#include "runtime/memory.h"
#include "tests/net/win32/loopback_server.h"

namespace velmora::net {
namespace {

using testing::LoopbackServer;
using SetOptionFunction = BOOL(WINAPI*)(HINTERNET, DWORD, void*, DWORD);

// The program's import entry of InternetSetOptionA (net/win32/wininet_library.cpp defines it).
extern "C" const SetOptionFunction setOptionEntry __asm__("__imp__InternetSetOptionA@16");

void replaceImport(void** slot, void* function) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  *slot = function;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
}

struct SetOption {
  HINTERNET handle;
  DWORD option;
  DWORD value;  // the first four bytes: a number, or a proxy record's access type
};

std::mutex recordLock;
std::vector<SetOption> optionsSet;
SetOptionFunction platformSetOption = nullptr;

BOOL WINAPI recordingSetOption(HINTERNET handle, DWORD option, void* buffer, DWORD length) {
  {
    std::lock_guard lock(recordLock);
    DWORD value = 0;
    if (buffer != nullptr && length >= sizeof value) CopyMemory(&value, buffer, sizeof value);
    optionsSet.push_back({handle, option, value});
  }
  return platformSetOption(handle, option, buffer, length);
}

// Records every option the program sets while it lives.
class OptionRecorder {
 public:
  OptionRecorder() : slot_(const_cast<void**>(reinterpret_cast<void* const*>(&setOptionEntry))) {
    optionsSet.clear();
    platformSetOption = reinterpret_cast<SetOptionFunction>(*slot_);
    replaceImport(slot_, reinterpret_cast<void*>(&recordingSetOption));
  }
  ~OptionRecorder() { replaceImport(slot_, reinterpret_cast<void*>(platformSetOption)); }

  std::vector<SetOption> set(HINTERNET handle, DWORD option) const {
    std::lock_guard lock(recordLock);
    std::vector<SetOption> found;
    for (const SetOption& set : optionsSet) {
      if ((handle == nullptr || set.handle == handle) && set.option == option) found.push_back(set);
    }
    return found;
  }

 private:
  void** slot_;
};

void read(const std::string& url) {
  runtime::ArgRecord argument;
  argument.value.setPointer(url.c_str());
  argument.type = runtime::types::kText;
  runtime::ResultRecord result;
  httpRead(&result, 1, &argument);
  runtime::freeBlock(result.value.asPointer());
}

TEST(InternetSession, OpensWithTheConfiguredProxyAndTheWaitsAndTriesEveryAddress) {
  const OptionRecorder recorder;
  HINTERNET session = openInternetSession();
  ASSERT_NE(session, nullptr);
  const std::vector<SetOption> proxies = recorder.set(session, INTERNET_OPTION_PROXY);
  ASSERT_EQ(proxies.size(), 1u);
  EXPECT_EQ(proxies[0].value, static_cast<DWORD>(INTERNET_OPEN_TYPE_PRECONFIG));
  for (DWORD wait : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                     INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    const std::vector<SetOption> waits = recorder.set(session, wait);
    ASSERT_EQ(waits.size(), 1u) << "option " << wait;
    EXPECT_EQ(waits[0].value, 15000u) << "option " << wait;
  }
  EXPECT_TRUE(recorder.set(nullptr, INTERNET_OPTION_CONNECT_RETRIES).empty());
  InternetCloseHandle(session);
}

TEST(InternetSession, AnExchangeLeavesTheSessionAloneAndWaitsNoLongerThanItsBound) {
  LoopbackServer server([](const std::string&) {
    return std::string("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
  });
  HINTERNET session = internetSession();
  ASSERT_NE(session, nullptr);
  const OptionRecorder recorder;
  read(server.url("/E/qx/login.php"));
  std::lock_guard lock(recordLock);
  ASSERT_FALSE(optionsSet.empty());
  for (const SetOption& set : optionsSet) {
    EXPECT_NE(set.handle, session) << "option " << set.option;
    EXPECT_NE(set.option, static_cast<DWORD>(INTERNET_OPTION_CONNECT_RETRIES));
    if (set.option == INTERNET_OPTION_RECEIVE_TIMEOUT) {
      EXPECT_GT(set.value, 0u);
      EXPECT_LE(set.value, 15000u);
    }
  }
}

}  // namespace
}  // namespace velmora::net
