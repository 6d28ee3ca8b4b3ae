// Requests that do not block the user-interface thread: the routine runs back on the starting
// thread once the request has ended, held routines run later, and whatever the peer does the
// request ends within 30 seconds, and so does its exchange.
// clang-format off
#include <winsock2.h>  // before windows.h, for the loopback peer
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include "net/win32/http_requests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/win32/http_exchange.h"
#include "runtime/memory.h"
#include "runtime/program_routine.h"
#include "runtime/value_blocks.h"
#include "tests/net/win32/loopback_server.h"

namespace velmora::net {
namespace {

using testing::LoopbackServer;

// What the runtime would answer when asked to run a routine, one answer per call; the last one
// stays. kCalled runs the routine.
std::vector<runtime::RoutineCall> answers;
int notifyCalls = 0;

intptr_t VELMORA_STDCALL fakeNotify(int32_t code, uintptr_t, uintptr_t routine) {
  EXPECT_EQ(code, runtime::kNotifyCallProgramRoutine);
  ++notifyCalls;
  const runtime::RoutineCall answer = answers.front();
  if (answers.size() > 1) answers.erase(answers.begin());
  if (answer == runtime::RoutineCall::kCalled) reinterpret_cast<runtime::ProgramRoutine>(routine)();
  return static_cast<intptr_t>(answer);
}

int32_t startedRequest = 0;
int routineRuns = 0;
DWORD routineThread = 0;
std::string takenReply;
bool replyWasEmpty = false;

std::string take(int32_t request) {
  const runtime::ArgRecord argument = runtime::integerArgument(request);
  runtime::ResultRecord result;
  takeHttpReply(&result, 1, &argument);
  void* byteSet = result.value.asPointer();
  std::string body;
  if (byteSet) {
    body.assign(reinterpret_cast<const char*>(runtime::byteSetData(byteSet)),
                static_cast<size_t>(runtime::byteSetLength(byteSet)));
  }
  runtime::freeBlock(byteSet);
  return body;
}

void requestEnded() {
  ++routineRuns;
  routineThread = GetCurrentThreadId();
  takenReply = take(startedRequest);
  replyWasEmpty = takenReply.empty();
}

int32_t start(const std::string& url) {
  const runtime::ArgRecord records[] = {
      runtime::textArgument(url.c_str()),
      runtime::valueArgument(runtime::types::kWindowRef, 0x52012C57),
      runtime::subroutineArgument(&requestEnded)};
  runtime::ResultRecord result;
  startHttpRead(&result, 3, records);
  startedRequest = result.value.asInt();
  return startedRequest;
}

void cancel(int32_t request) {
  const runtime::ArgRecord argument = runtime::integerArgument(request);
  runtime::ResultRecord result;
  cancelHttpRead(&result, 1, &argument);
}

// Dispatches this thread's messages until the runtime was asked to run the routine as often as
// given, or the time is up.
void pumpUntilOffered(DWORD milliseconds, int offers = 1) {
  const DWORD start = GetTickCount();
  while (notifyCalls < offers && GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// Dispatches what a handler's wait for its own reply dispatches, painting and timers, until the
// runtime was asked to run the routine or the time is up.
void pumpAsAHandlerWaitsUntilOffered(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (notifyCalls < 1 && GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
      DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_TIMER);
  }
}

bool postedMessageWaits() {
  return HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE;
}

size_t threadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  size_t threads = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
  }
  CloseHandle(snapshot);
  return threads;
}

std::string response(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class HttpRequests : public ::testing::Test {
 protected:
  HttpRequests() {
    answers = {runtime::RoutineCall::kCalled};
    notifyCalls = routineRuns = 0;
    takenReply.clear();
    setInternetRuntimeNotify(fakeNotify);
  }
  ~HttpRequests() override {
    setInternetRuntimeNotify(nullptr);
    setLongestRequest(longestRequest_);
  }

  const DWORD longestRequest_ = longestRequest();
};

TEST_F(HttpRequests, TheRoutineRunsBackOnTheStartingThreadWithTheWholeReply) {
  LoopbackServer server([](const std::string&) { return response("1,code 4821, ok"); });
  ASSERT_GT(start(server.url("/E/qx/getsms.php?hm=1")), 0);
  pumpUntilOffered(10000);
  EXPECT_EQ(routineRuns, 1);
  EXPECT_EQ(routineThread, GetCurrentThreadId());
  EXPECT_EQ(takenReply, "1,code 4821, ok");
  EXPECT_EQ(take(startedRequest), "") << "a reply is taken once";
}

TEST_F(HttpRequests, AHeldRoutineRunsLaterAndAGoneWindowDropsTheReply) {
  LoopbackServer server([](const std::string&) { return response("0"); });
  answers = {runtime::RoutineCall::kHeld, runtime::RoutineCall::kHeld,
             runtime::RoutineCall::kCalled};
  start(server.url("/held"));
  pumpUntilOffered(10000, 3);
  EXPECT_EQ(notifyCalls, 3);
  EXPECT_EQ(takenReply, "0");

  routineRuns = notifyCalls = 0;
  answers = {runtime::RoutineCall::kWindowGone};
  const int32_t gone = start(server.url("/gone"));
  pumpUntilOffered(10000);
  EXPECT_EQ(notifyCalls, 1);
  EXPECT_EQ(routineRuns, 0);
  EXPECT_EQ(take(gone), "") << "the reply went with the window";
}

TEST_F(HttpRequests, ACancelledRequestNeverRunsItsRoutine) {
  LoopbackServer server([](const std::string&) { return response("1,late"); });
  cancel(start(server.url("/cancelled")));
  pumpUntilOffered(1000);
  EXPECT_EQ(notifyCalls, 0);
}

TEST_F(HttpRequests, APeerThatTricklesItsHeadersIsGivenUpWithinThirtySeconds) {
  // Forty bytes, one a second: longer than the limit, and not much more.
  LoopbackServer server([](const std::string&) { return response("1") + "\r\n"; }, {0, 1000});
  const DWORD begun = GetTickCount();
  start(server.url("/trickle"));
  EXPECT_LT(GetTickCount() - begun, 500u) << "the start does not wait for the peer";
  pumpUntilOffered(40000);
  const DWORD elapsed = GetTickCount() - begun;
  EXPECT_EQ(routineRuns, 1);
  EXPECT_TRUE(replyWasEmpty);
  EXPECT_GE(elapsed, 29500u);
  EXPECT_LT(elapsed, 35000u);
}

TEST_F(HttpRequests, AReplyThatEndedWhileAHandlerWaitedIsTakenWhenTheTimeIsUp) {
  LoopbackServer server([](const std::string&) { return response("1,code 5150, ok"); });
  setLongestRequest(1000);
  start(server.url("/E/qx/getsms.php?hm=2"));
  const DWORD begun = GetTickCount();
  while (!postedMessageWaits() && GetTickCount() - begun < 5000) Sleep(10);
  ASSERT_TRUE(postedMessageWaits()) << "the exchange posted its end";
  pumpAsAHandlerWaitsUntilOffered(5000);
  EXPECT_EQ(routineRuns, 1);
  EXPECT_EQ(takenReply, "1,code 5150, ok");
}

// The number panel's poll against a service that sends the head of its reply and then trickles
// the body, one byte every 100 ms: each poll is given up when its time is up, and the next starts
// soon after. Here a poll every 200 ms given up after 1.5 s stands for the panel's every 2 s
// given up after 30 s. An exchange that went on while the peer trickled would hold a thread, a
// socket and its buffers, one more for every poll.
TEST_F(HttpRequests, PollsGivenUpAgainstATricklingPeerLeaveNoExchangesBehind) {
  const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n";
  LoopbackServer server([&](const std::string&) { return head + std::string(100000, 'x'); },
                        {head.size(), 100});
  const size_t threadsAtStart = threadsOfThisProcess();
  setLongestRequest(1500);
  int polls = 0;
  LONG mostRunning = 0;
  for (const DWORD begun = GetTickCount(); GetTickCount() - begun < 15000;) {
    start(server.url("/E/qx/getsms.php?hm=3"));
    pumpUntilOffered(5000, ++polls);
    mostRunning = std::max(mostRunning, runningExchanges());
    Sleep(200);
  }
  EXPECT_EQ(routineRuns, polls);
  EXPECT_TRUE(replyWasEmpty);
  // The given-up exchange may still wait for the peer's next byte.
  EXPECT_LE(mostRunning, 2) << "of " << polls << " polls";
  for (const DWORD ended = GetTickCount(); GetTickCount() - ended < 2000;) {
    if (runningExchanges() == 0) break;
    Sleep(50);
  }
  EXPECT_EQ(runningExchanges(), 0);
  // The thread pool lets its idle threads go after a while.
  size_t threads = threadsOfThisProcess();
  for (const DWORD ended = GetTickCount(); GetTickCount() - ended < 20000;) {
    threads = threadsOfThisProcess();
    if (threads <= threadsAtStart + 2) break;
    Sleep(200);
  }
  EXPECT_LE(threads, threadsAtStart + 2) << "threads at the start: " << threadsAtStart;
}

}  // namespace
}  // namespace velmora::net
