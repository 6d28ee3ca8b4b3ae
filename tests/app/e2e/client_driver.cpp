#include "tests/app/e2e/client_driver.h"

#include <algorithm>

#include "program_data_generated.h"
#include "tests/support/gbk.h"
#include "tests/support/message_box_recorder.h"

namespace velmora::testing {
namespace {

constexpr DWORD kPollInterval = 20;

template <typename Found>
bool poll(DWORD milliseconds, Found found) {
  const DWORD start = GetTickCount();
  while (!found()) {
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(kPollInterval);
  }
  return true;
}

struct TopLevelSearch {
  DWORD processId;
  std::wstring className;
  std::wstring caption;  // empty: any
  HWND found = nullptr;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<TopLevelSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s.processId || !IsWindowVisible(window)) return TRUE;
  if (!s.className.empty() && windowClassName(window) != s.className) return TRUE;
  if (!s.caption.empty() && ClientDriver::text(window) != s.caption) return TRUE;
  s.found = window;
  return FALSE;
}

HWND topLevel(DWORD processId, const std::wstring& windowClass, const std::wstring& caption) {
  TopLevelSearch search{processId, windowClass, caption};
  EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The child windows of parent placed at the unit's stored place in its client area.
std::vector<HWND> childrenAt(HWND parent, const forms::UnitRecord& unit) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    // A combo box's height is its selection field's, not the stored one.
    if (rect.left == unit.left && rect.top == unit.top && rect.right - rect.left == unit.width)
      found.push_back(child);
  }
  return found;
}

std::optional<uint32_t> indexOfName(const forms::UnitTable& table, const std::string& name) {
  for (uint32_t i = 1; i < table.count(); ++i) {
    if (table.unitAt(i).name == name) return i;
  }
  return std::nullopt;
}

// The indexes of the containers from the window down to the unit's own container.
std::vector<uint32_t> containerChain(const forms::UnitTable& table, uint32_t index) {
  std::vector<uint32_t> chain;
  for (uint32_t container = table.unitAt(index).container; container != 0;) {
    const auto containerIndex = table.indexOf(container);
    if (!containerIndex) break;
    chain.insert(chain.begin(), *containerIndex);
    container = table.unitAt(*containerIndex).container;
  }
  return chain;
}

bool samePlace(const forms::UnitRecord& a, const forms::UnitRecord& b) {
  return a.container == b.container && a.left == b.left && a.top == b.top && a.width == b.width;
}

// The unit's window among parent's children. Units that share a place are told apart by their
// stacking: an earlier unit of the window data lies above a later one.
HWND placedChild(HWND parent, const forms::UnitTable& table, uint32_t index) {
  const forms::UnitRecord unit = table.unitAt(index);
  size_t rank = 0;
  size_t sharing = 0;
  for (uint32_t i = 1; i < table.count(); ++i) {
    if (!samePlace(table.unitAt(i), unit)) continue;
    if (i < index) ++rank;
    ++sharing;
  }
  const std::vector<HWND> found = childrenAt(parent, unit);
  return found.size() == sharing ? found[rank] : nullptr;
}

}  // namespace

ClientProcess::ClientProcess(const std::wstring& program) : program_(program) {
  start();
}

ClientProcess::~ClientProcess() {
  end();
}

void ClientProcess::restart() {
  end();
  start();
}

void ClientProcess::start() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + program_ + L"\"";
  if (CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

void ClientProcess::end() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, INFINITE);
  }
  CloseHandle(process_);
  process_ = nullptr;
  id_ = 0;
}

std::optional<DWORD> ClientProcess::waitForExit(DWORD milliseconds) const {
  if (!process_ || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

ClientDriver::ClientDriver(const ClientProcess& process) : process_(process) {
  auto windows = forms::readWindowData({program_data::windowData, program_data::kWindowDataLength});
  if (windows) windows_ = std::move(*windows);
}

HWND ClientDriver::waitForWindow(const std::wstring& caption, DWORD milliseconds) const {
  HWND found = nullptr;
  poll(milliseconds,
       [&] { return (found = topLevel(process_.id(), L"NVWindow", caption)) != nullptr; });
  return found;
}

bool ClientDriver::waitUntilClosed(HWND window, DWORD milliseconds) const {
  return poll(milliseconds, [&] { return !IsWindow(window); });
}

bool ClientDriver::messageShowing() const {
  return topLevel(process_.id(), L"#32770", L"") != nullptr;
}

std::optional<SeenMessage> ClientDriver::answerMessage(DWORD milliseconds) const {
  HWND box = nullptr;
  if (!poll(milliseconds,
            [&] { return (box = topLevel(process_.id(), L"#32770", L"")) != nullptr; }))
    return std::nullopt;
  const SeenMessage seen{messageBoxText(box), text(box)};
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  waitUntilClosed(box, milliseconds);
  return seen;
}

const forms::WindowRecord* ClientDriver::record(uint32_t windowId) const {
  auto found = std::find_if(windows_.begin(), windows_.end(),
                            [&](const forms::WindowRecord& w) { return w.id == windowId; });
  return found == windows_.end() ? nullptr : &*found;
}

HWND ClientDriver::unit(HWND window, uint32_t windowId, std::u8string_view name) const {
  const forms::WindowRecord* windowRecord = record(windowId);
  if (!windowRecord) return nullptr;
  const forms::UnitTable& table = windowRecord->units;
  const auto index = indexOfName(table, gbk(name));
  if (!index) return nullptr;
  HWND parent = window;
  for (const uint32_t container : containerChain(table, *index)) {
    parent = placedChild(parent, table, container);
    if (!parent) return nullptr;
  }
  return placedChild(parent, table, *index);
}

std::wstring ClientDriver::text(HWND unit) {
  std::wstring text(static_cast<size_t>(SendMessageW(unit, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(unit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

void ClientDriver::type(HWND editBox, const std::wstring& text) {
  SendMessageW(editBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ClientDriver::click(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

void ClientDriver::pick(HWND comboBox, int index) {
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const auto id = static_cast<WORD>(GetDlgCtrlID(comboBox));
  PostMessageW(GetParent(comboBox), WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(comboBox));
}

}  // namespace velmora::testing
