// Requests that do not block the user-interface thread: the routine runs back on the starting
// thread once the request has ended, held routines run later, and whatever the peer does the
// request ends within 30 seconds.
#include "net/win32/http_requests.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  ~HttpRequests() override { setInternetRuntimeNotify(nullptr); }
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

}  // namespace
}  // namespace velmora::net
