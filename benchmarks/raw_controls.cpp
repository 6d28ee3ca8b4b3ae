#include "benchmarks/raw_controls.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <utility>

namespace velmora {
namespace {

constexpr wchar_t kRawWindowClass[] = L"RawControlsWindow";

std::wstring classNameOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring textOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool isRuntimeClass(const std::wstring& name) {
  return name.rfind(L"_QV_", 0) == 0;
}

// The class and style a plain program would use for the control.
void plainClassAndStyle(HWND window, RawControl& control) {
  const std::wstring name = classNameOf(window);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  if (isRuntimeClass(name)) {
    control.className = L"STATIC";
    control.style = (style & 0xFFFF0000) | SS_LEFT;
  } else if (_wcsicmp(name.c_str(), L"BUTTON") == 0 && (style & BS_TYPEMASK) == BS_OWNERDRAW) {
    control.className = name;
    control.style = (style & ~BS_TYPEMASK) | BS_PUSHBUTTON;
  } else {
    control.className = name;
    control.style = style;
  }
  control.extendedStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
}

std::vector<std::wstring> comboItems(HWND combo) {
  std::vector<std::wstring> items;
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring item(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    item.resize(static_cast<size_t>(
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(item);
  }
  return items;
}

int fontIndex(HWND window, RawWindow& raw) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW logical;
  if (font == nullptr || GetObjectW(font, sizeof logical, &logical) != sizeof logical) return -1;
  for (size_t i = 0; i < raw.fonts.size(); ++i) {
    if (std::memcmp(&raw.fonts[i], &logical, sizeof logical) == 0) return static_cast<int>(i);
  }
  raw.fonts.push_back(logical);
  return static_cast<int>(raw.fonts.size() - 1);
}

struct Capture {
  HWND window;
  RawWindow* raw;
  std::map<HWND, int> indices;
};

// Parents are enumerated before their children.
BOOL CALLBACK captureControl(HWND window, LPARAM argument) {
  auto& capture = *reinterpret_cast<Capture*>(argument);
  HWND parent = GetParent(window);
  const auto known = capture.indices.find(parent);
  if (parent != capture.window && known == capture.indices.end()) return TRUE;
  if (known != capture.indices.end() &&
      classNameOf(parent) == L"ComboBox")  // its own edit and list
    return TRUE;
  RawControl control;
  plainClassAndStyle(window, control);
  control.text = textOf(window);
  GetWindowRect(window, &control.place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&control.place), 2);
  control.parent = known == capture.indices.end() ? -1 : known->second;
  control.font = fontIndex(window, *capture.raw);
  if (_wcsicmp(classNameOf(window).c_str(), L"COMBOBOX") == 0) control.items = comboItems(window);
  capture.indices[window] = static_cast<int>(capture.raw->controls.size());
  capture.raw->controls.push_back(control);
  return TRUE;
}

void registerRawWindowClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kRawWindowClass;
    return RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
}

void runPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

RawWindow rawCopyOf(HWND window) {
  RawWindow raw;
  raw.caption = textOf(window);
  raw.style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & ~WS_VISIBLE;
  raw.extendedStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  GetWindowRect(window, &raw.place);
  Capture capture{window, &raw, {}};
  EnumChildWindows(window, captureControl, reinterpret_cast<LPARAM>(&capture));
  return raw;
}

HWND makeRaw(const RawWindow& raw, std::vector<HFONT>& fonts, WNDPROC procedure) {
  registerRawWindowClass();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND window =
      CreateWindowExW(raw.extendedStyle, kRawWindowClass, raw.caption.c_str(), raw.style,
                      raw.place.left, raw.place.top, raw.place.right - raw.place.left,
                      raw.place.bottom - raw.place.top, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  for (const LOGFONTW& font : raw.fonts) fonts.push_back(CreateFontIndirectW(&font));
  std::vector<HWND> made;
  for (const RawControl& control : raw.controls) {
    HWND parent = control.parent < 0 ? window : made[static_cast<size_t>(control.parent)];
    HWND child = CreateWindowExW(
        control.extendedStyle, control.className.c_str(), control.text.c_str(), control.style,
        control.place.left, control.place.top, control.place.right - control.place.left,
        control.place.bottom - control.place.top, parent, nullptr, instance, nullptr);
    if (control.font >= 0)
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[control.font]), FALSE);
    for (const std::wstring& item : control.items)
      SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    made.push_back(child);
  }
  return window;
}

void showRaw(HWND window) {
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  runPendingMessages();
}

HWND openRaw(const RawWindow& raw, std::vector<HFONT>& fonts) {
  HWND window = makeRaw(raw, fonts);
  showRaw(window);
  return window;
}

namespace {

// The file holds the fields in their order: numbers and plain records as their bytes, a text as
// its length in characters and then its characters, a list as its length and then its items.
// Writing and reading go through the same list of fields (transferWindow), so they agree.
class RawFile {
 public:
  static RawFile forWriting() { return RawFile({}, false); }
  static RawFile forReading(std::string bytes) { return RawFile(std::move(bytes), true); }

  const std::string& bytes() const { return bytes_; }
  bool whole() const { return whole_ && (!reading_ || at_ == bytes_.size()); }

  template <typename Plain>
  void field(Plain& value) {
    if (reading_) return take(&value, sizeof value);
    bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  void field(std::wstring& text) {
    auto length = static_cast<uint32_t>(text.size());
    field(length);
    if (!reading_) {
      bytes_.append(reinterpret_cast<const char*>(text.data()), length * sizeof(wchar_t));
      return;
    }
    if (length > (bytes_.size() - at_) / sizeof(wchar_t)) return fail();
    text.resize(length);
    take(text.data(), length * sizeof(wchar_t));
  }
  // A list, each item through `each`; read, a length the rest of the file cannot hold in items
  // of at least `least` bytes is refused.
  template <typename Item, typename Each>
  void list(std::vector<Item>& items, size_t least, Each each) {
    auto length = static_cast<uint32_t>(items.size());
    field(length);
    if (reading_) {
      if (!whole_ || length > (bytes_.size() - at_) / least) return fail();
      items.resize(length);
    }
    for (Item& item : items) each(item);
  }

 private:
  RawFile(std::string bytes, bool reading) : bytes_(std::move(bytes)), reading_(reading) {}

  void take(void* out, size_t size) {
    if (!whole_ || size > bytes_.size() - at_) return fail();
    std::memcpy(out, bytes_.data() + at_, size);
    at_ += size;
  }
  void fail() { whole_ = false; }

  std::string bytes_;
  bool reading_;
  size_t at_ = 0;
  bool whole_ = true;
};

void transferWindow(RawFile& file, RawWindow& raw) {
  file.field(raw.caption);
  file.field(raw.style);
  file.field(raw.extendedStyle);
  file.field(raw.place);
  file.list(raw.fonts, sizeof(LOGFONTW), [&](LOGFONTW& font) { file.field(font); });
  file.list(raw.controls, sizeof(DWORD), [&](RawControl& control) {
    file.field(control.className);
    file.field(control.text);
    file.field(control.style);
    file.field(control.extendedStyle);
    file.field(control.place);
    file.field(control.parent);
    file.field(control.font);
    file.list(control.items, sizeof(uint32_t), [&](std::wstring& item) { file.field(item); });
  });
}

// Each control's parent is made before it, and its font is one of the window's.
bool controlsInOrder(const RawWindow& raw) {
  for (size_t i = 0; i < raw.controls.size(); ++i) {
    const RawControl& control = raw.controls[i];
    if (control.parent < -1 || control.parent >= static_cast<int>(i)) return false;
    if (control.font < -1 || control.font >= static_cast<int>(raw.fonts.size())) return false;
  }
  return true;
}

}  // namespace

bool writeRaw(const RawWindow& raw, const wchar_t* path) {
  RawFile file = RawFile::forWriting();
  RawWindow copy = raw;
  transferWindow(file, copy);
  HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool wrote = WriteFile(out, file.bytes().data(), static_cast<DWORD>(file.bytes().size()),
                               &written, nullptr) &&
                     written == file.bytes().size();
  CloseHandle(out);
  return wrote;
}

bool readRaw(const wchar_t* path, RawWindow& raw) {
  HANDLE in = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  std::string bytes(GetFileSize(in, nullptr), '\0');
  DWORD read = 0;
  const bool complete =
      ReadFile(in, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
      read == bytes.size();
  CloseHandle(in);
  if (!complete) return false;
  RawFile file = RawFile::forReading(std::move(bytes));
  transferWindow(file, raw);
  return file.whole() && controlsInOrder(raw);
}

void closeRaw(HWND window, std::vector<HFONT>& fonts) {
  DestroyWindow(window);
  runPendingMessages();
  for (HFONT font : fonts) DeleteObject(font);
  fonts.clear();
}

}  // namespace velmora
