#include "tests/controls/win32/unit_host.h"

#include <algorithm>

#include "controls/win32/standard_units.h"
#include "forms/live/win32/reflection.h"

namespace velmora::testing {
namespace {

intptr_t VELMORA_STDCALL recordingNotify(int32_t code, uintptr_t first, uintptr_t second) {
  if (code == controls::kNotifyRaiseEvent) {
    const auto& record = *reinterpret_cast<const controls::EventRecord*>(first);
    recorder().events.push_back(record);
    if (recorder().onEvent) recorder().onEvent(record);
    return 0;
  }
  if (code == controls::kNotifyUnitGone)
    recorder().goneUnits.push_back(static_cast<uint32_t>(second));
  return 0;
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (forms::reflectToUnit(window, message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kHostClass[] = L"VelmoraUnitHost";

}  // namespace

RuntimeRecorder& recorder() {
  static RuntimeRecorder instance;
  return instance;
}

// One top-level window serves every test: under Wine without a window manager, destroying a
// top-level window waits for the display.
static HWND sharedHostWindow() {
  static HWND window = nullptr;
  if (window != nullptr) return window;
  static HBRUSH background = CreateSolidBrush(kHostBackground);
  WNDCLASSEXW hostClass{};
  hostClass.cbSize = sizeof hostClass;
  hostClass.lpfnWndProc = hostProcedure;
  hostClass.hInstance = GetModuleHandleW(nullptr);
  hostClass.hbrBackground = background;
  hostClass.lpszClassName = kHostClass;
  RegisterClassExW(&hostClass);
  window = CreateWindowExW(0, kHostClass, L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 420,
                           320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return window;
}

UnitHost::UnitHost() : window_(sharedHostWindow()) {
  recorder() = RuntimeRecorder{};
  controls::setUnitsRuntimeNotify(recordingNotify);
  pumpMessages();
}

UnitHost::~UnitHost() {
  while (HWND child = GetWindow(window_, GW_CHILD)) DestroyWindow(child);
  pumpMessages();
  controls::setUnitsRuntimeNotify(nullptr);
}

forms::LiveUnit* UnitHost::create(uint32_t typeCode, const forms::Bytes& block, RECT rect,
                                  HWND parent) {
  auto create = reinterpret_cast<forms::CreateUnitFunction>(
      controls::standardUnitTypeInterface(typeCode)(forms::kCreateUnit));
  forms::LiveUnit* unit = create(block.data(), static_cast<uint32_t>(block.size()), WS_TABSTOP,
                                 parent != nullptr ? parent : window_, nextControlId_, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                 0x52010001, 0x16000000 + nextControlId_, nullptr, 0);
  nextControlId_ += 10;
  if (unit != nullptr) {
    ShowWindow(windowOf(unit), SW_SHOWNOACTIVATE);
    UpdateWindow(windowOf(unit));
    pumpMessages();
  }
  return unit;
}

void pumpMessages() {
  for (int round = 0; round < 3; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(20);
  }
}

ScreenCapture::ScreenCapture(HWND window, Capture mode) {
  if (mode == Capture::redrawn) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  UpdateWindow(window);
  pumpMessages();
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  width_ = client.right;
  height_ = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* words = static_cast<const uint32_t*>(bits);
  pixels_.assign(words, words + size_t(width_) * height_);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF ScreenCapture::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const uint32_t pixel = pixels_[size_t(y) * width_ + x];
  return RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
}

RECT pixelBounds(const ScreenCapture& screen, RECT area, bool (*test)(COLORREF)) {
  RECT box{area.right, area.bottom, area.left - 1, area.top - 1};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (!test(screen.at(x, y))) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x);
      box.bottom = std::max<LONG>(box.bottom, y);
    }
  }
  return box;
}

}  // namespace velmora::testing
