// The combo box commands on a live combo box, the flash window command with a window of the
// program or of another program in front, the message box as a hook sees it, and the clipboard,
// including a failed copy that must not lose what the clipboard held and a copy that waits while
// another program holds the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

#include "forms/live/win32/form_commands.h"
#include "forms/live/win32/program_timers.h"
#include "runtime/memory.h"
#include "runtime/win32/platform_commands.h"
#include "runtime/win32/runtime.h"
#include "tests/forms/live/command_arguments.h"
#include "tests/forms/live/test_forms.h"
#include "tests/support/gbk.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/test_heap.h"

namespace velmora::forms {
namespace {

runtime::ArgRecord comboReference() {
  runtime::ArgRecord record = testing::windowReference(testing::kMainWindow, testing::kComboBox);
  record.type = runtime::types::kComboBoxRef;
  return record;
}

class ComboBoxCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(forms.registry().loadStartWindow(testing::kMainWindow)); }

  int32_t count() {
    const runtime::ArgRecord args[] = {comboReference()};
    runtime::ResultRecord result;
    comboBoxItemCount(&result, 1, args);
    return result.value.asInt();
  }
  std::string itemText(int32_t index, bool* empty = nullptr) {
    const runtime::ArgRecord args[] = {comboReference(), testing::integerRecord(index)};
    runtime::ResultRecord result;
    comboBoxItemText(&result, 2, args);
    char* text = static_cast<char*>(result.value.asPointer());
    if (empty) *empty = text == nullptr;
    std::string copy = text ? text : "";
    runtime::freeBlock(text);
    return copy;
  }

  testing::TestHeap heap;
  testing::TestForms forms;
};

TEST_F(ComboBoxCommands, ItemsAreAddedReadAndCleared) {
  HWND box = forms.unitHandle(testing::kMainWindow, testing::kComboBox);
  const std::string first = testing::gbk(u8"项目一");
  const runtime::ArgRecord withoutData[] = {comboReference(), testing::textRecord(first.c_str())};
  runtime::ResultRecord result;
  addComboBoxItem(&result, 2, withoutData);
  EXPECT_EQ(result.value.asInt(), 0);
  const runtime::ArgRecord withData[] = {comboReference(), testing::textRecord("second"),
                                         testing::integerRecord(7)};
  addComboBoxItem(&result, 3, withData);
  EXPECT_EQ(result.value.asInt(), 1);
  EXPECT_EQ(SendMessageW(box, CB_GETITEMDATA, 0, 0), 0);
  EXPECT_EQ(SendMessageW(box, CB_GETITEMDATA, 1, 0), 7);
  EXPECT_EQ(count(), 2);
  EXPECT_EQ(itemText(0), first);
  bool empty = false;
  itemText(-1, &empty);
  EXPECT_TRUE(empty);
  itemText(2, &empty);
  EXPECT_TRUE(empty);
  const runtime::ArgRecord clear[] = {comboReference()};
  clearComboBox(&result, 1, clear);
  EXPECT_EQ(count(), 0);
}

TEST_F(ComboBoxCommands, AComboBoxOfAWindowNotLoadedEndsTheProgram) {
  const runtime::ArgRecord args[] = {
      testing::windowReference(testing::kSecondWindow, testing::kComboBox)};
  runtime::ResultRecord result;
  try {
    comboBoxItemCount(&result, 1, args);
    FAIL() << "no runtime error";
  } catch (const testing::RaisedRuntimeError& error) {
    EXPECT_EQ(error.report.message, testing::gbk(u8"指定窗口或窗口组件不存在或尚未载入"));
    EXPECT_EQ(static_cast<uint32_t>(error.report.sourceId), testing::kSecondWindow);
  }
}

struct ShownBox {
  testing::ShownMessageBox box;
  int32_t result = -1;
};

ShownBox showBox(std::initializer_list<runtime::ArgRecord> args) {
  testing::MessageBoxRecorder recorder;
  runtime::ResultRecord result;
  runtime::messageBoxCommand(&result, static_cast<int32_t>(args.size()), std::data(args));
  ShownBox shown;
  if (!recorder.shown().empty()) shown.box = recorder.shown().front();
  shown.result = result.value.asInt();
  return shown;
}

int ticks = 0;
void countTick() {
  ++ticks;
}

// Dispatches the thread's messages for a while and answers how many ticks came.
int ticksWithin(DWORD milliseconds) {
  ticks = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    testing::pumpPending();
    Sleep(5);
  }
  return ticks;
}

class ProgramTimers : public ComboBoxCommands {
 protected:
  bool start(int32_t milliseconds) {
    const runtime::ArgRecord args[] = {testing::windowReference(testing::kMainWindow),
                                       testing::integerRecord(milliseconds),
                                       runtime::subroutineArgument(countTick)};
    runtime::ResultRecord result;
    startTimerCommand(&result, 3, args);
    return result.value.asLogical();
  }
  void stop() {
    const runtime::ArgRecord args[] = {testing::windowReference(testing::kMainWindow),
                                       runtime::subroutineArgument(countTick)};
    runtime::ResultRecord result;
    stopTimerCommand(&result, 2, args);
  }
};

TEST_F(ProgramTimers, TickUntilStoppedHeldWhileAHandlerWaitsAndEndWithTheWindow) {
  ASSERT_TRUE(start(20));
  EXPECT_GE(ticksWithin(300), 3);
  runtime::runtimeState().waitingDepth = 1;
  EXPECT_EQ(ticksWithin(150), 0) << "no tick in the middle of a handler";
  runtime::runtimeState().waitingDepth = 0;
  ASSERT_TRUE(start(20));  // a second start only sets the interval anew
  stop();
  EXPECT_EQ(ticksWithin(150), 0);

  ASSERT_TRUE(start(20));
  DestroyWindow(forms.windowHandle(testing::kMainWindow));
  EXPECT_EQ(ticksWithin(150), 0);
  EXPECT_FALSE(start(20)) << "no timer on a window that is not loaded";
}

std::vector<FLASHWINFO> flashes;
BOOL WINAPI recordFlash(PFLASHWINFO flash) {
  flashes.push_back(*flash);
  return TRUE;
}

// Brings the window to the front, and says whether it got there within 5 seconds.
bool broughtToFront(HWND window) {
  SetForegroundWindow(window);
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20)) {
    testing::pumpPending();
    if (GetForegroundWindow() == window) return true;
  }
  return false;
}

// Notepad, another program with a window of its own, ended with the object.
struct AnotherProgram {
  AnotherProgram() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"notepad.exe";
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    for (const DWORD start = GetTickCount(); !window && GetTickCount() - start < 10000; Sleep(50))
      EnumWindows(takeVisibleWindow, reinterpret_cast<LPARAM>(this));
  }
  ~AnotherProgram() {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  static BOOL CALLBACK takeVisibleWindow(HWND candidate, LPARAM self) {
    auto* program = reinterpret_cast<AnotherProgram*>(self);
    DWORD owner = 0;
    GetWindowThreadProcessId(candidate, &owner);
    if (owner != program->process.dwProcessId || !IsWindowVisible(candidate)) return TRUE;
    program->window = candidate;
    return FALSE;
  }

  PROCESS_INFORMATION process{};
  HWND window = nullptr;
};

class FlashWindowCommand : public ComboBoxCommands {
 protected:
  void TearDown() override { windowFlasher() = FlashWindowEx; }
};

// A window of the program in front, the one flashed or another (a top-up window over the main
// window), means the user is here: only a window of another program in front calls for the flash.
TEST_F(FlashWindowCommand, CallsOnlyAUserInAnotherProgram) {
  runtime::ResultRecord result;
  const runtime::ArgRecord second[] = {testing::windowReference(testing::kSecondWindow)};
  loadWindowCommand(&result, 1, second);
  const runtime::ArgRecord mainReference[] = {testing::windowReference(testing::kMainWindow)};
  HWND mainWindow = forms.windowHandle(testing::kMainWindow);
  flashes.clear();
  windowFlasher() = recordFlash;
  for (HWND ours : {forms.windowHandle(testing::kSecondWindow), mainWindow}) {
    ASSERT_TRUE(broughtToFront(ours));
    flashWindowCommand(&result, 1, mainReference);
  }
  EXPECT_TRUE(flashes.empty());
  AnotherProgram notepad;
  ASSERT_NE(notepad.window, nullptr);
  ASSERT_TRUE(broughtToFront(notepad.window));
  flashWindowCommand(&result, 1, mainReference);
  ASSERT_EQ(flashes.size(), 1u);
  EXPECT_EQ(flashes[0].hwnd, mainWindow);
  EXPECT_EQ(flashes[0].dwFlags, static_cast<DWORD>(FLASHW_TRAY | FLASHW_TIMERNOFG));
}

TEST(MessageBoxCommand, ShowsAnyValueAsTextWithTheDefaultCaptionAndOneButton) {
  testing::TestHeap heap;
  const ShownBox number = showBox({testing::integerRecord(42), testing::integerRecord(0)});
  EXPECT_EQ(number.box.caption, L"信息：");
  EXPECT_EQ(number.box.text, L"42");
  EXPECT_EQ(number.box.buttons.size(), 1u);
  EXPECT_EQ(number.result, 0);
  EXPECT_EQ(showBox({testing::logicalRecord(true), testing::integerRecord(0)}).box.text, L"真");
  const std::string caption = testing::gbk(u8"提示");
  const ShownBox captioned = showBox({testing::textRecord("hello"), testing::integerRecord(0),
                                      testing::textRecord(caption.c_str())});
  EXPECT_EQ(captioned.box.caption, L"提示");
  EXPECT_EQ(captioned.box.text, L"hello");
  // An owner window reference of a window that is not loaded shows the box without an owner.
  EXPECT_EQ(showBox({testing::textRecord("x"),
                     testing::integerRecord(0),
                     {},
                     testing::windowReference(0x52000099)})
                .box.text,
            L"x");
}

std::wstring clipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(not opened)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

bool setClipboard(const char* text) {
  const runtime::ArgRecord args[] = {testing::textRecord(text)};
  runtime::ResultRecord result;
  runtime::setClipboardTextCommand(&result, 1, args);
  return result.value.asLogical();
}

HGLOBAL WINAPI refuseAllocation(UINT, SIZE_T) {
  return nullptr;
}

HANDLE WINAPI refuseBlock(UINT, HANDLE) {
  return nullptr;
}

// The text in the system's ANSI code page (1252 under Wine here, where GBK bytes would read as
// Latin letters).
std::string ansiText(const std::wstring& text) {
  std::string ansi(text.size() * 2 + 1, '\0');
  ansi.resize(
      static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(),
                                              static_cast<int>(ansi.size()), nullptr, nullptr)) -
      1);
  return ansi;
}

TEST(ClipboardCommand, PutsTheTextInBothFormatsAndKeepsTheOldTextWhenTheCopyFails) {
  const std::string text = testing::gbk(u8"copy 复制内容");
  ASSERT_TRUE(setClipboard(text.c_str()));
  EXPECT_EQ(clipboardText(), L"copy 复制内容");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE plain = GetClipboardData(CF_TEXT);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(plain))), ansiText(L"copy 复制内容"));
  GlobalUnlock(plain);
  CloseClipboard();

  runtime::clipboardAllocator() = refuseAllocation;
  EXPECT_FALSE(setClipboard("lost"));
  runtime::clipboardAllocator() = GlobalAlloc;
  EXPECT_EQ(clipboardText(), L"copy 复制内容");

  EXPECT_TRUE(setClipboard(""));
  EXPECT_EQ(clipboardText(), L"");
}

TEST(ClipboardCommand, AnswersFalseWhenTheClipboardRefusesTheText) {
  runtime::clipboardSetter() = refuseBlock;
  EXPECT_FALSE(setClipboard("refused"));
  runtime::clipboardSetter() = SetClipboardData;
  EXPECT_TRUE(setClipboard("taken"));
  EXPECT_EQ(clipboardText(), L"taken");
}

// Another program has the clipboard open, for a window of its own, for the time given from the
// moment this returns.
class ClipboardHolder {
 public:
  explicit ClipboardHolder(DWORD milliseconds)
      : holder([this, milliseconds] {
          HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
          opened.set_value(OpenClipboard(window) != FALSE);
          Sleep(milliseconds);
          CloseClipboard();
          DestroyWindow(window);
        }) {
    EXPECT_TRUE(opened.get_future().get()) << "the holder could not open the clipboard";
  }
  ~ClipboardHolder() { holder.join(); }

 private:
  std::promise<bool> opened;
  std::thread holder;
};

TEST(ClipboardCommand, WaitsForAProgramThatHoldsTheClipboardForAMoment) {
  {
    ClipboardHolder holder(150);
    EXPECT_TRUE(setClipboard("after the holder"));
  }
  EXPECT_EQ(clipboardText(), L"after the holder");

  // One that does not let go: the copy gives up, in bounded time, says so and changes nothing.
  {
    ClipboardHolder holder(1500);
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(setClipboard("never placed"));
    EXPECT_LT(GetTickCount64() - start, 1200u);
  }
  EXPECT_EQ(clipboardText(), L"after the holder");
}

}  // namespace
}  // namespace velmora::forms
