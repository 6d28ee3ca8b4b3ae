// The window probe as the screenshot tour reads it: one LF-ended line per visible top-level
// window with its class, enabled flag, window and client rectangles on the screen and its caption
// in UTF-8; a dialog's visible children follow it with their texts, line breaks and tabs escaped.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

std::string utf8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

// Runs the probe with its standard output in a file and returns what it wrote.
std::string probeOutput() {
  wchar_t directory[MAX_PATH];
  GetTempPathW(MAX_PATH, directory);
  // A new file each run: the last one may still be on its way out with the probe that wrote it.
  static int run = 0;
  const std::wstring path = std::wstring(directory) + L"window_probe_test_" +
                            std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++run) +
                            L".txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = file;
  startup.hStdError = file;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" VELMORA_WINDOW_PROBE L"\"";
  const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(file);
  if (!started) {
    ADD_FAILURE() << "the probe did not start: " << GetLastError();
    return {};
  }
  // The test's windows keep answering messages meanwhile, as the client's do.
  const DWORD start = GetTickCount();
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1000, QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
      DispatchMessageW(&message);
    }
    if (GetTickCount() - start > 30000) {
      ADD_FAILURE() << "the probe hangs";
      break;
    }
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::string content;
  if (FILE* in = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) content.append(buffer, n);
    std::fclose(in);
  }
  DeleteFileW(path.c_str());
  return content;
}

std::vector<Fields> lines(const std::string& output) {
  std::vector<Fields> result;
  std::istringstream stream(output);
  for (std::string line; std::getline(stream, line);) {
    Fields fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    result.push_back(fields);
  }
  return result;
}

// The index of the line whose last field is this caption or text; -1 when none.
int lineWith(const std::vector<Fields>& all, const std::string& text) {
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].size() == 7 && all[i][6] == text) return static_cast<int>(i);
  }
  return -1;
}

std::string rectFields(RECT rect) {
  return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
         std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top);
}

std::string clientOnScreen(HWND window) {
  RECT rect;
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rectFields(rect);
}

std::string windowOnScreen(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rectFields(rect);
}

class WindowProbeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NVWindow";
    RegisterClassW(&windowClass);
  }

  HWND make(const wchar_t* className, const wchar_t* caption, DWORD style, HWND parent = nullptr,
            int left = 100, int top = 120, int width = 304, int height = 414) {
    HWND window =
        CreateWindowExW(parent == nullptr ? WS_EX_TOOLWINDOW : 0, className, caption, style, left,
                        top, width, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    if (parent == nullptr) windows_.push_back(window);
    return window;
  }

  void TearDown() override {
    for (HWND window : windows_) DestroyWindow(window);
  }

 private:
  std::vector<HWND> windows_;
};

TEST_F(WindowProbeTest, ListsAWindowWithItsRectanglesOnScreenAndItsCaptionInUtf8) {
  HWND window =
      make(L"NVWindow", L"用户注册", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  const std::string output = probeOutput();
  EXPECT_EQ(output.find('\r'), std::string::npos) << "lines end in LF alone";
  const auto all = lines(output);
  const int at = lineWith(all, utf8(u8"用户注册"));
  ASSERT_GE(at, 0) << output;
  EXPECT_EQ(all[at][0], "window");
  EXPECT_EQ(all[at][2], "NVWindow");
  EXPECT_EQ(all[at][3], "1");
  EXPECT_EQ(all[at][4], windowOnScreen(window));
  EXPECT_EQ(all[at][4], "100 120 304 414");
  EXPECT_EQ(all[at][5], clientOnScreen(window));
  EXPECT_NE(all[at][5], all[at][4]) << "the client area lies inside the frame";
}

TEST_F(WindowProbeTest, TellsADisabledWindowAndLeavesOutHiddenOnes) {
  make(L"NVWindow", L"probe-disabled", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_DISABLED);
  make(L"NVWindow", L"probe-hidden", WS_OVERLAPPEDWINDOW);
  const auto all = lines(probeOutput());
  const int disabled = lineWith(all, "probe-disabled");
  ASSERT_GE(disabled, 0);
  EXPECT_EQ(all[disabled][3], "0");
  EXPECT_EQ(lineWith(all, "probe-hidden"), -1);
}

TEST_F(WindowProbeTest, FollowsADialogWithItsVisibleChildrenAndEscapesTheirTexts) {
  HWND dialog =
      make(L"#32770", L"信息：", WS_POPUP | WS_CAPTION | WS_VISIBLE, nullptr, 200, 200, 240, 140);
  make(L"Static", L"第一行\r\n第二行\tend\\", WS_CHILD | WS_VISIBLE, dialog, 10, 10, 200, 40);
  make(L"Static", L"probe-hidden-child", WS_CHILD, dialog, 10, 50, 200, 20);
  HWND button = make(L"Button", L"OK", WS_CHILD | WS_VISIBLE, dialog, 80, 70, 80, 24);
  const auto all = lines(probeOutput());
  const int at = lineWith(all, utf8(u8"信息："));
  ASSERT_GE(at, 0);
  EXPECT_EQ(all[at][2], "#32770");
  const int text = lineWith(all, utf8(u8"第一行\\r\\n第二行\\tend\\\\"));
  ASSERT_EQ(text, at + 1) << "the dialog's text follows it";
  EXPECT_EQ(all[text][0], "child");
  EXPECT_EQ(all[text][2], "Static");
  const int ok = lineWith(all, "OK");
  ASSERT_EQ(ok, at + 2);
  EXPECT_EQ(all[ok][0], "child");
  EXPECT_EQ(all[ok][2], "Button");
  EXPECT_EQ(all[ok][4], windowOnScreen(button));
  EXPECT_EQ(lineWith(all, "probe-hidden-child"), -1);
}

// The tour answers the client's message boxes: the real one shows its text in a Static child
// and its OK in a Button child.
TEST_F(WindowProbeTest, ShowsAMessageBoxsTextAndButton) {
  std::thread shown([] { MessageBoxW(nullptr, L"登入成功", L"信息：", MB_OK); });
  HWND box = nullptr;
  for (int i = 0; i < 500 && box == nullptr; ++i) {
    Sleep(10);
    box = FindWindowW(L"#32770", L"信息：");
  }
  ASSERT_NE(box, nullptr);
  const auto all = lines(probeOutput());
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  shown.join();
  const int at = lineWith(all, utf8(u8"信息："));
  ASSERT_GE(at, 0);
  const int text = lineWith(all, utf8(u8"登入成功"));
  ASSERT_GT(text, at);
  EXPECT_EQ(all[text][2], "Static");
  bool button = false;
  for (size_t i = at + 1; i < all.size() && all[i][0] == "child"; ++i) {
    button = button || all[i][2] == "Button";
  }
  EXPECT_TRUE(button);
}

}  // namespace
