// The whole program against the demo service on loopback: a new user registers, logs in, uses
// every window and closes the main window, and the process ends with code 0; the number panel
// against demo services whose numbers behave in different ways, the numbers of a provider among
// them; and the program built for an HTTPS service. The program's windows are driven from this
// process through their messages, as a person's input arrives.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_units.h"
#include "tests/app/e2e/client_driver.h"

namespace velmora::testing {
namespace {

constexpr uint32_t kLoginWindow = app::login::kWindow;
constexpr uint32_t kRegistrationWindow = app::registration::kWindow;
constexpr uint32_t kProfileWindow = app::profile::kWindow;
constexpr uint32_t kMainWindow = app::main_window::kWindow;
constexpr uint32_t kTopUpWindow = app::top_up::kWindow;
constexpr uint32_t kPromotionWindow = app::promotion::kWindow;
constexpr uint32_t kApiWindow = app::api::kWindow;
constexpr DWORD kStepTime = 15000;

std::wstring wide(std::u8string_view utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(
      CP_UTF8, 0, reinterpret_cast<const char*>(utf8.data()), static_cast<int>(utf8.size()),
      text.data(), static_cast<int>(text.size()))));
  return text;
}

// UTF-8 as it comes from outside the program.
std::wstring wide(std::string_view utf8) {
  return wide(std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

// A program beside this test's executable.
std::wstring programPath(const wchar_t* program) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + program;
}

// The first line of a file beside this test's executable; empty when there is none.
std::string firstLine(const wchar_t* name) {
  std::ifstream file(std::filesystem::path(programPath(name)));
  std::string line;
  std::getline(file, line);
  return line;
}

// The body of a GET of the address; empty when the request failed.
std::string httpBody(const std::string& url) {
  std::string body;
  HINTERNET session = InternetOpenA("velmora-e2e", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (!session) return body;
  if (HINTERNET request =
          InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)) {
    char chunk[4096];
    DWORD read = 0;
    while (InternetReadFile(request, chunk, sizeof chunk, &read) && read > 0)
      body.append(chunk, read);
    InternetCloseHandle(request);
  }
  InternetCloseHandle(session);
  return body;
}

// The value of a parameter in a query as it came ("action=setStatus&id=5&status=8"), undecoded;
// empty when the query has none.
std::string queryValue(std::string_view query, std::string_view name) {
  while (!query.empty()) {
    const std::string_view pair = query.substr(0, query.find('&'));
    if (pair.starts_with(name) && pair.substr(name.size()).starts_with('='))
      return std::string(pair.substr(name.size() + 1));
    query.remove_prefix(std::min(query.size(), pair.size() + 1));
  }
  return {};
}

// The text of a JSON string field; empty when there is none. Reads the fields the fake provider
// writes, which hold no escapes.
std::string jsonText(std::string_view json, std::string_view name) {
  const std::string start = "\"" + std::string(name) + "\":\"";
  const size_t at = json.find(start);
  if (at == std::string_view::npos) return {};
  const size_t from = at + start.size();
  const size_t end = json.find('"', from);
  return end == std::string_view::npos ? std::string() : std::string(json.substr(from, end - from));
}

std::wstring clipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

class ClientJourney : public ::testing::Test {
 protected:
  explicit ClientJourney(const wchar_t* program = VELMORA_E2E_PROGRAM)
      : client(programPath(program)), driver(client) {}

  // Opens at its stored outer size, centred on the screen.
  static void expectPlacement(HWND window, int width, int height) {
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(rect.left + width / 2, screenWidth / 2, 1);
    EXPECT_NEAR(rect.top + height / 2, screenHeight / 2, 1);
  }

  // Has a task bar button of its own: the task bar gives none to a tool window, nor to an owned
  // window (a modal one is owned by the runtime's hidden window) that does not ask for one.
  static void expectTaskBarButton(HWND window) {
    const LONG_PTR extended = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_FALSE(extended & WS_EX_TOOLWINDOW);
    if (GetWindow(window, GW_OWNER) != nullptr) {
      EXPECT_TRUE(extended & WS_EX_APPWINDOW);
    }
  }

  HWND open(const std::u8string& caption, int width, int height) {
    HWND window = driver.waitForWindow(wide(caption), kStepTime);
    if (window) {
      expectPlacement(window, width, height);
      expectTaskBarButton(window);
    }
    return window;
  }

  HWND unit(HWND window, uint32_t windowId, std::u8string_view name) {
    HWND found = driver.unit(window, windowId, name);
    EXPECT_NE(found, nullptr) << "no unit " << reinterpret_cast<const char*>(name.data());
    return found;
  }

  // Clicks and expects one message box with this text and caption.
  void clickForMessage(HWND button, std::u8string_view text,
                       std::u8string_view caption = u8"信息：") {
    ClientDriver::click(button);
    const auto seen = driver.answerMessage(kStepTime);
    ASSERT_TRUE(seen.has_value()) << "no message for "
                                  << reinterpret_cast<const char*>(text.data());
    EXPECT_EQ(seen->text, wide(text));
    EXPECT_EQ(seen->caption, wide(caption));
  }

  // Waits until the unit shows the text (a handler may still be at work).
  bool shows(HWND unit, const std::wstring& text) {
    const DWORD start = GetTickCount();
    while (ClientDriver::text(unit) != text) {
      if (GetTickCount() - start > kStepTime) return false;
      Sleep(20);
    }
    return true;
  }

  void close(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(driver.waitUntilClosed(window, kStepTime));
  }

  ClientProcess client;
  ClientDriver driver;
  // A new user each run: the service's database lives as long as the test run's service.
  const std::wstring user = L"e2e" + std::to_wstring(GetTickCount() % 1000000);
};

TEST_F(ClientJourney, ANewUserRegistersLogsInAndUsesEveryWindow) {
  ASSERT_TRUE(client.started());

  // Login window: the support contact arrives from the service.
  HWND login = open(u8"Velmora", 300, 450);
  ASSERT_NE(login, nullptr);
  EXPECT_TRUE(shows(unit(login, kLoginWindow, u8"kf1"), L"@velmora_kf"));

  // Registration, without an e-mail, then back to the one login window.
  ClientDriver::click(unit(login, kLoginWindow, u8"超级按钮1"));
  HWND registration = open(u8"用户注册", 304, 414);
  ASSERT_NE(registration, nullptr);
  ClientDriver::type(unit(registration, kRegistrationWindow, u8"用户名"), user);
  ClientDriver::type(unit(registration, kRegistrationWindow, u8"密码"), L"pw1");
  ClientDriver::type(unit(registration, kRegistrationWindow, u8"密码1"), L"PW1");
  clickForMessage(unit(registration, kRegistrationWindow, u8"注册按钮"),
                  u8"两次输入密码不一致，请检查");
  ClientDriver::type(unit(registration, kRegistrationWindow, u8"密码1"), L"pw1");
  clickForMessage(unit(registration, kRegistrationWindow, u8"注册按钮"), u8"注册成功");
  ClientDriver::click(unit(registration, kRegistrationWindow, u8"超级按钮1"));
  EXPECT_TRUE(driver.waitUntilClosed(registration, kStepTime));
  EXPECT_EQ(driver.waitForWindow(L"Velmora", kStepTime), login);

  // Login: the main window opens and closes the login window.
  ClientDriver::type(unit(login, kLoginWindow, u8"用户名"), user);
  ClientDriver::type(unit(login, kLoginWindow, u8"密码"), L"wrong");
  clickForMessage(unit(login, kLoginWindow, u8"登录"), u8"请检查信息");
  ClientDriver::type(unit(login, kLoginWindow, u8"密码"), L"pw1");
  clickForMessage(unit(login, kLoginWindow, u8"登录"), u8"登入成功");
  HWND main = open(u8"Velmora-海量优质号源", 750, 543);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(driver.waitUntilClosed(login, kStepTime));
  EXPECT_TRUE(shows(unit(main, kMainWindow, u8"用户名"), user));
  EXPECT_EQ(ClientDriver::text(unit(main, kMainWindow, u8"my")), L"0.00");
  EXPECT_FALSE(IsWindowVisible(unit(main, kMainWindow, u8"复2")));
  EXPECT_FALSE(IsWindowEnabled(unit(main, kMainWindow, u8"编辑框1")));

  // Search and pick a project.
  HWND projects = unit(main, kMainWindow, u8"组合框1");
  EXPECT_EQ(SendMessageW(projects, CB_GETCOUNT, 0, 0), 40);
  ClientDriver::type(unit(main, kMainWindow, u8"搜"), L"\u5fae");  // 微
  ClientDriver::click(unit(main, kMainWindow, u8"搜索"));
  const auto matches = driver.answerMessage(kStepTime);
  ASSERT_TRUE(matches.has_value());
  EXPECT_EQ(matches->caption, wide(u8"符合3项"));
  EXPECT_EQ(matches->text, wide(u8"微信-1.2\r\n微博-0.5\r\n企业微信-1.5\r\n"));
  EXPECT_EQ(SendMessageW(projects, CB_GETCOUNT, 0, 0), 3);
  ClientDriver::pick(projects, 2);
  EXPECT_TRUE(shows(unit(main, kMainWindow, u8"项目名称"), wide(u8"企业微信")));
  EXPECT_EQ(ClientDriver::text(unit(main, kMainWindow, u8"单价")), L"1.5");

  // Top-up: submit 10, see the pending order, delete it.
  ClientDriver::click(unit(main, kMainWindow, u8"指定号码1"));
  HWND topUp = open(u8"充值", 803, 442);
  ASSERT_NE(topUp, nullptr);
  HWND orderUser = unit(topUp, kTopUpWindow, u8"j户");
  HWND deleteOrder = unit(topUp, kTopUpWindow, u8"删");
  EXPECT_TRUE(shows(unit(topUp, kTopUpWindow, u8"ad"), L"TDhNQAT8YrjBAUhj9G48CDS3qTqVTNTxe3"));
  EXPECT_FALSE(IsWindowEnabled(unit(topUp, kTopUpWindow, u8"ad")));
  EXPECT_FALSE(IsWindowEnabled(unit(topUp, kTopUpWindow, u8"用户名")));
  EXPECT_EQ(ClientDriver::text(unit(topUp, kTopUpWindow, u8"用户名")), user);
  EXPECT_FALSE(IsWindowVisible(deleteOrder));
  ClientDriver::type(unit(topUp, kTopUpWindow, u8"数量"), L"10");
  clickForMessage(unit(topUp, kTopUpWindow, u8"提充"), u8"充值提交成功");
  EXPECT_TRUE(shows(orderUser, user));
  EXPECT_EQ(ClientDriver::text(unit(topUp, kTopUpWindow, u8"j量")), L"10");
  EXPECT_TRUE(IsWindowVisible(deleteOrder));
  EXPECT_TRUE(IsWindowVisible(unit(topUp, kTopUpWindow, u8"外形框1")));
  clickForMessage(deleteOrder, u8"订单已删除，现在可以重新创建订单");
  EXPECT_TRUE(shows(orderUser, L""));
  close(topUp);

  // Profile: the account has no e-mail; an update shows when the window opens again.
  ClientDriver::click(unit(main, kMainWindow, u8"超级按钮1"));
  HWND profile = open(u8"用户信息", 271, 433);
  ASSERT_NE(profile, nullptr);
  EXPECT_TRUE(shows(unit(profile, kProfileWindow, u8"用户"), user));
  EXPECT_EQ(ClientDriver::text(unit(profile, kProfileWindow, u8"邮箱")), L"");
  ClientDriver::type(unit(profile, kProfileWindow, u8"密码"), L"pw2");
  ClientDriver::type(unit(profile, kProfileWindow, u8"地址"), L"TNewAddress");
  clickForMessage(unit(profile, kProfileWindow, u8"保存"), u8"更新成功");
  close(profile);
  ClientDriver::click(unit(main, kMainWindow, u8"超级按钮1"));
  profile = open(u8"用户信息", 271, 433);
  ASSERT_NE(profile, nullptr);
  EXPECT_TRUE(shows(unit(profile, kProfileWindow, u8"密码"), L"pw2"));
  EXPECT_EQ(ClientDriver::text(unit(profile, kProfileWindow, u8"地址")), L"TNewAddress");
  // The service takes the next update only with the password now saved as its proof.
  ClientDriver::type(unit(profile, kProfileWindow, u8"地址"), L"TOtherAddress");
  clickForMessage(unit(profile, kProfileWindow, u8"保存"), u8"更新成功");
  close(profile);

  // Promotion: the invitation code the service gave the new account.
  ClientDriver::click(unit(main, kMainWindow, u8"推广"));
  HWND promotion = open(u8"推广中心", 390, 431);
  ASSERT_NE(promotion, nullptr);
  EXPECT_EQ(ClientDriver::text(unit(promotion, kPromotionWindow, u8"请码")).size(), 6u);
  clickForMessage(unit(promotion, kPromotionWindow, u8"指定号码1"), u8"已刷新");
  close(promotion);

  // API: one sample visible at a time; both copy buttons copy the API address.
  ClientDriver::click(unit(main, kMainWindow, u8"api"));
  HWND api = open(u8"API", 588, 494);
  ASSERT_NE(api, nullptr);
  const std::u8string samples[] = {u8"代1", u8"代2", u8"代3", u8"代4"};
  auto visibleSamples = [&] {
    std::vector<bool> visible;
    for (const auto& sample : samples)
      visible.push_back(IsWindowVisible(unit(api, kApiWindow, sample)) != FALSE);
    return visible;
  };
  EXPECT_EQ(visibleSamples(), (std::vector<bool>{true, false, false, false}));
  ClientDriver::click(unit(api, kApiWindow, u8"注册按钮3"));
  ClientDriver::click(unit(api, kApiWindow, u8"注册按钮3"));
  Sleep(300);
  EXPECT_EQ(visibleSamples(), (std::vector<bool>{false, false, true, false}));
  clickForMessage(unit(api, kApiWindow, u8"注册按钮5"), u8"复制成功", u8"提示");
  const std::wstring address = ClientDriver::text(unit(api, kApiWindow, u8"编辑框1"));
  EXPECT_TRUE(address.starts_with(L"url:")) << "the API address, not a code sample";
  EXPECT_EQ(clipboardText(), address);
  close(api);

  // Closing the main window ends the program.
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(client.waitForExit(kStepTime), std::optional<DWORD>(0));
}

// The demo account, logged in: its main window with 微信 picked.
class NumberJourney : public ClientJourney {
 protected:
  using ClientJourney::ClientJourney;

  // 微信 as the service lists it.
  std::u8string_view weChat = u8"微信-1.2";

  HWND logInAndPickWeChat(const std::wstring& balance = L"12.00") {
    HWND login = open(u8"Velmora", 300, 450);
    if (!login) return nullptr;
    ClientDriver::type(unit(login, kLoginWindow, u8"用户名"), L"demo");
    ClientDriver::type(unit(login, kLoginWindow, u8"密码"), L"demo123");
    clickForMessage(unit(login, kLoginWindow, u8"登录"), u8"登入成功");
    HWND main = open(u8"Velmora-海量优质号源", 750, 543);
    if (!main) return nullptr;
    HWND projects = unit(main, kMainWindow, u8"组合框1");
    EXPECT_TRUE(shows(unit(main, kMainWindow, u8"my"), balance));
    const auto index = SendMessageW(projects, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(wide(weChat).c_str()));
    EXPECT_GE(index, 0);
    ClientDriver::pick(projects, static_cast<int>(index));
    EXPECT_TRUE(shows(unit(main, kMainWindow, u8"项目名称"), wide(u8"微信")));
    return main;
  }

  // Clicks "获取号码" and waits for the number it was granted.
  std::wstring getNumber(HWND main) {
    HWND number = unit(main, kMainWindow, u8"标签14");
    ClientDriver::click(unit(main, kMainWindow, u8"获取号码"));
    const DWORD start = GetTickCount();
    while (ClientDriver::text(number) == wide(u8"请获取号码") && GetTickCount() - start < kStepTime)
      Sleep(20);
    EXPECT_FALSE(driver.messageShowing());
    return ClientDriver::text(number);
  }

  // Waits until the SMS box shows other than it did; what it shows then.
  std::wstring awaitSms(HWND sms, const std::wstring& before = L"") {
    const DWORD start = GetTickCount();
    while (ClientDriver::text(sms) == before && GetTickCount() - start < kStepTime) Sleep(50);
    return ClientDriver::text(sms);
  }

  // Ticks the box that shows the copy-code button (ticked again, it hides the button).
  void showCopyCode(HWND main) {
    ClientDriver::click(unit(main, kMainWindow, u8"选择框1"));
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(unit(main, kMainWindow, u8"复2")));
  }

  // The copy-code button: what it put on the clipboard.
  std::wstring copyCode(HWND main) {
    clickForMessage(unit(main, kMainWindow, u8"复2"), u8"复制成功", u8"提示");
    return clipboardText();
  }

  void exitFrom(HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(client.waitForExit(kStepTime), std::optional<DWORD>(0));
  }
};

TEST_F(NumberJourney, TheDemoAccountGetsANumberItsSmsAndLetsNumbersGo) {
  ASSERT_TRUE(client.started());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  HWND balance = unit(main, kMainWindow, u8"my");
  HWND sms = unit(main, kMainWindow, u8"编辑框1");

  // A number is charged, and its SMS arrives by polling.
  const std::wstring first = getNumber(main);
  EXPECT_EQ(first.size(), 11u);
  EXPECT_TRUE(shows(balance, L"10.80"));
  const std::wstring text = awaitSms(sms);
  EXPECT_NE(text.find(wide(u8"微信")), std::wstring::npos) << "the SMS names its project";

  // Both copy buttons fill the clipboard.
  showCopyCode(main);
  clickForMessage(unit(main, kMainWindow, u8"复1"), u8"复制成功", u8"提示");
  EXPECT_EQ(clipboardText(), text);
  const std::wstring code = copyCode(main);
  EXPECT_EQ(code.size(), 6u);
  EXPECT_NE(text.find(code), std::wstring::npos);

  // Released after its SMS: no refund. Released before one: refunded.
  clickForMessage(unit(main, kMainWindow, u8"释"), u8"号码已释放");
  EXPECT_EQ(ClientDriver::text(unit(main, kMainWindow, u8"标签14")), wide(u8"请获取号码"));
  EXPECT_EQ(ClientDriver::text(sms), L"");
  EXPECT_EQ(ClientDriver::text(balance), L"10.80");
  getNumber(main);
  EXPECT_TRUE(shows(balance, L"9.60"));
  clickForMessage(unit(main, kMainWindow, u8"释"), u8"号码已释放");
  EXPECT_EQ(ClientDriver::text(balance), L"10.80");

  // A blacklisted number is refunded and never given to this account again.
  const std::wstring blacklisted = getNumber(main);
  clickForMessage(unit(main, kMainWindow, u8"拉黑"), u8"已拉黑该号码");
  EXPECT_EQ(ClientDriver::text(balance), L"10.80");
  clickForMessage(unit(main, kMainWindow, u8"指定号码"), u8"该号码暂不可用");
  exitFrom(main);
}

// Run against a demo service whose SMS never comes before the number expires.
TEST_F(NumberJourney, ANumberWithoutSmsExpires) {
  ASSERT_TRUE(client.started());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(getNumber(main).size(), 11u);
  const auto seen = driver.answerMessage(kStepTime);
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->text, wide(u8"号码已失效，请重新获取"));
  EXPECT_EQ(ClientDriver::text(unit(main, kMainWindow, u8"标签14")), wide(u8"请获取号码"));
  exitFrom(main);
}

// Run against a service that holds every SMS request for 25 seconds.
TEST_F(NumberJourney, AHangingPollLeavesTheWindowAnswering) {
  ASSERT_TRUE(client.started());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  getNumber(main);
  Sleep(3000);  // the first poll is out and hangs
  const DWORD clicked = GetTickCount();
  ClientDriver::click(unit(main, kMainWindow, u8"复1"));
  while (!driver.messageShowing() && GetTickCount() - clicked < kStepTime) Sleep(5);
  EXPECT_LT(GetTickCount() - clicked, 500u) << "the click waited for the poll";
  const auto seen = driver.answerMessage(kStepTime);
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->text, wide(u8"暂无短信内容"));
  exitFrom(main);
}

// Run against a demo service whose SMS comes 8 seconds after its number. The program is killed
// while it holds a number, before its SMS and after it, and started again each time.
TEST_F(NumberJourney, AKilledProgramFindsItsNumberAndItsSmsAgain) {
  ASSERT_TRUE(client.started());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  const std::wstring held = getNumber(main);
  ASSERT_EQ(held.size(), 11u);

  // Before its SMS: the number shows again, and its SMS comes by polling.
  client.restart();
  main = logInAndPickWeChat(L"10.80");
  ASSERT_NE(main, nullptr);
  HWND number = unit(main, kMainWindow, u8"标签14");
  HWND sms = unit(main, kMainWindow, u8"编辑框1");
  EXPECT_TRUE(shows(number, held));
  EXPECT_EQ(ClientDriver::text(sms), L"") << "started again before the SMS came";
  const std::wstring text = awaitSms(sms);
  EXPECT_NE(text.find(wide(u8"微信")), std::wstring::npos) << "the SMS names its project";

  // After its SMS: the number shows with its SMS at once.
  client.restart();
  main = logInAndPickWeChat(L"10.80");
  ASSERT_NE(main, nullptr);
  number = unit(main, kMainWindow, u8"标签14");
  EXPECT_TRUE(shows(number, held));
  EXPECT_EQ(ClientDriver::text(unit(main, kMainWindow, u8"编辑框1")), text);
  clickForMessage(unit(main, kMainWindow, u8"释"), u8"号码已释放");
  exitFrom(main);
}

// Run against the demo service behind a proxy that drops getnum.php's reply once the service has
// granted the number: the program finds the number, and the account paid for it once.
TEST_F(NumberJourney, ALostGrantEndsWithTheGrantedNumberChargedOnce) {
  ASSERT_TRUE(client.started());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  const std::wstring granted = getNumber(main);
  ASSERT_EQ(granted.size(), 11u);
  client.restart();
  main = logInAndPickWeChat(L"10.80");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(shows(unit(main, kMainWindow, u8"标签14"), granted));
  exitFrom(main);
}

// The fake provider whose numbers the demo service resells in the provider runs, asked from here
// as the service asks it: what the service told it, and the SMS it gave. Its address and key lie
// beside this program, where the run's start wrote them.
class ResoldProvider {
 public:
  struct Sms {
    std::string code;
    std::string text;  // UTF-8
  };

  bool found() const { return !address_.empty() && !key_.empty(); }

  // The query of every request the provider received, in order.
  std::vector<std::string> requests() const {
    std::vector<std::string> lines;
    const std::string all = httpBody(address_ + "/control/requests");
    for (size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1)
      lines.push_back(all.substr(at, end - at));
    return lines;
  }

  // The activations of the setStatus requests that asked for this step, in order.
  std::vector<std::string> steps(std::string_view step) const {
    std::vector<std::string> activations;
    for (const std::string& query : requests()) {
      if (queryValue(query, "action") == "setStatus" && queryValue(query, "status") == step)
        activations.push_back(queryValue(query, "id"));
    }
    return activations;
  }

  // The activation the service asked the status of first.
  std::string firstPolled() const {
    for (const std::string& query : requests()) {
      if (queryValue(query, "action") == "getStatus") return queryValue(query, "id");
    }
    return {};
  }

  // The provider's answer to an action on an activation.
  std::string ask(const std::string& action, const std::string& activation) const {
    return httpBody(address_ + "/stubs/handler_api.php?api_key=" + key_ + "&action=" + action +
                    "&id=" + activation);
  }

  // The activation's SMS as getStatusV2 gives it: empty before it came.
  Sms sms(const std::string& activation) const {
    const std::string answer = ask("getStatusV2", activation);
    return {jsonText(answer, "code"), jsonText(answer, "text")};
  }

 private:
  std::string address_ = firstLine(L"e2e-provider.address");
  std::string key_ = firstLine(L"e2e-provider.key");
};

// The demo service reselling the fake provider's numbers, which it lists as its projects file
// names them.
class ProviderJourney : public NumberJourney {
 protected:
  ProviderJourney() { weChat = u8"微信-1.20"; }

  ResoldProvider provider;
};

// Run against the service reselling a provider whose SMS comes 2 seconds after the number or
// after the request for another: each SMS shows as the provider gave it, and the copy-code button
// copies the code the provider gave, the first SMS's and the further one's that 手动刷新 asks for.
TEST_F(ProviderJourney, EachSmsOfTheProviderShowsAndItsCodeIsCopied) {
  ASSERT_TRUE(client.started());
  ASSERT_TRUE(provider.found());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(SendMessageW(unit(main, kMainWindow, u8"组合框1"), CB_GETCOUNT, 0, 0), 2);
  HWND balance = unit(main, kMainWindow, u8"my");
  HWND sms = unit(main, kMainWindow, u8"编辑框1");
  const std::wstring number = getNumber(main);
  EXPECT_TRUE(number.starts_with(L"86138") && number.size() == 13u)
      << "the provider's phone without its plus sign";
  EXPECT_TRUE(shows(balance, L"10.80"));

  const std::wstring first = awaitSms(sms);
  const std::string activation = provider.firstPolled();
  const ResoldProvider::Sms given = provider.sms(activation);
  ASSERT_FALSE(given.code.empty());
  EXPECT_EQ(first, wide(given.text));
  showCopyCode(main);
  EXPECT_EQ(copyCode(main), wide(given.code));

  // 手动刷新 asks the provider for another SMS; the box keeps the first until the next comes.
  clickForMessage(unit(main, kMainWindow, u8"指定号码2"), u8"已请求新短信，请稍候");
  EXPECT_EQ(ClientDriver::text(sms), first);
  const std::wstring second = awaitSms(sms, first);
  const ResoldProvider::Sms further = provider.sms(activation);
  EXPECT_NE(further.code, given.code);
  EXPECT_EQ(second, wide(further.text));
  EXPECT_EQ(copyCode(main), wide(further.code));

  // Released after its SMS: the charge stays.
  clickForMessage(unit(main, kMainWindow, u8"释"), u8"号码已释放");
  EXPECT_EQ(ClientDriver::text(balance), L"10.80");
  exitFrom(main);
}

// Run against the service reselling a provider whose SMS comes too late to matter and that
// refuses the first cancel of each number: the release refunds the account at once, and the
// service tells the provider the cancel again at its next poll, until the provider takes it.
TEST_F(ProviderJourney, AReleaseBeforeTheSmsIsRefundedAtOnceAndCancelledAtTheProvider) {
  // Two polls of the service (one a second) suffice; a loaded machine is given fifteen.
  constexpr DWORD kCancelTime = 15000;
  ASSERT_TRUE(client.started());
  ASSERT_TRUE(provider.found());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  HWND balance = unit(main, kMainWindow, u8"my");
  EXPECT_EQ(getNumber(main).size(), 13u);
  EXPECT_TRUE(shows(balance, L"10.80"));
  clickForMessage(unit(main, kMainWindow, u8"释"), u8"号码已释放");
  EXPECT_EQ(ClientDriver::text(balance), L"12.00");

  const DWORD released = GetTickCount();
  std::vector<std::string> cancels;
  while ((cancels = provider.steps("8")).size() < 2 && GetTickCount() - released < kCancelTime)
    Sleep(100);
  ASSERT_EQ(cancels.size(), 2u) << "the refused cancel told again";
  EXPECT_EQ(cancels[0], cancels[1]);
  EXPECT_EQ(provider.ask("getStatus", cancels[0]), "STATUS_CANCEL");
  Sleep(2500);
  EXPECT_EQ(provider.steps("8").size(), 2u) << "the cancel taken is not told again";
  exitFrom(main);
}

// The program built for an HTTPS service: localhost on the port of the other runs, where the demo
// service serves HTTPS with a certificate of a test CA that the Wine prefix trusts while the runs
// last.
class TlsJourney : public NumberJourney {
 protected:
  TlsJourney() : NumberJourney(VELMORA_E2E_TLS_PROGRAM) {}
};

TEST_F(TlsJourney, TheDemoAccountLogsInOverHttps) {
  ASSERT_TRUE(client.started());
  HWND main = logInAndPickWeChat();
  ASSERT_NE(main, nullptr);
  exitFrom(main);
}

// Run against a service whose certificate that CA did not sign, and against one whose certificate
// it signed for another host: every request fails as if no service answered.
TEST_F(TlsJourney, ACertificateNotTrustedForTheHostFailsTheLogin) {
  ASSERT_TRUE(client.started());
  HWND login = open(u8"Velmora", 300, 450);
  ASSERT_NE(login, nullptr);
  ClientDriver::type(unit(login, kLoginWindow, u8"用户名"), L"demo");
  ClientDriver::type(unit(login, kLoginWindow, u8"密码"), L"demo123");
  clickForMessage(unit(login, kLoginWindow, u8"登录"), u8"登录失败，请稍后重试");
  EXPECT_EQ(ClientDriver::text(unit(login, kLoginWindow, u8"kf1")), L"");
  PostMessageW(login, WM_CLOSE, 0, 0);
  EXPECT_EQ(client.waitForExit(kStepTime), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace velmora::testing
