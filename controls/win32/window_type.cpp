// The window type: the top-level window of a loaded window, its class, styles and procedure.
#include <windows.h>

#include <cstring>

#include "controls/win32/standard_units.h"
#include "forms/event_numbers.h"
#include "forms/live/win32/event_dispatch.h"
#include "forms/live/win32/form_registry.h"
#include "forms/live/win32/program_timers.h"
#include "forms/live/win32/reflection.h"
#include "forms/live/win32/unit_slots.h"
#include "forms/live/win32/window_lifecycle.h"
#include "forms/live/window_styles.h"
#include "forms/property_refs.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

constexpr wchar_t kRuntimeWindowClass[] = L"NVWindow";
constexpr UINT kClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;

forms::LiveWindow* liveWindowOf(HWND window) {
  return reinterpret_cast<forms::LiveWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

std::wstring registeredClass(const forms::WindowProperties& properties) {
  const std::wstring name = properties.className.empty()
                                ? kRuntimeWindowClass
                                : runtime::wideFromGbk(properties.className);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  if (!GetClassInfoW(instance, name.c_str(), &windowClass)) {
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = name.c_str();
    RegisterClassW(&windowClass);
  }
  return name;
}

void fillBackground(HWND window, HDC dc, const forms::WindowProperties& properties) {
  RECT client;
  GetClientRect(window, &client);
  const COLORREF colour = properties.backgroundColour == forms::kDefaultColour
                              ? GetSysColor(COLOR_BTNFACE)
                              : static_cast<COLORREF>(properties.backgroundColour);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
}

// The pointer of the unit under the mouse, when it has one.
bool setUnitPointer(HWND hit) {
  for (forms::WindowObject& window : forms::formRegistry().windows()) {
    for (uint32_t i = 0; i < window.live.count(); ++i) {
      forms::LiveUnit* unit = forms::formRegistry().liveUnit(window, i);
      if (unit && unit->window == hit) {
        HCURSOR pointer = forms::storedPointer(window.live, i);
        if (!pointer) return false;
        SetCursor(pointer);
        return true;
      }
    }
  }
  return false;
}

// Only a top-level window hears that it is no longer active; its units hear it from it, so that
// a unit lit under the mouse (a super button's hover face) goes dark when the user switches away.
void passDeactivationToUnits(const forms::LiveWindow& window, WPARAM wParam, LPARAM lParam) {
  const forms::WindowObject* object = forms::formRegistry().find(window.windowId);
  for (uint32_t i = 1; object && i < object->live.count(); ++i) {
    if (forms::LiveUnit* unit = forms::formRegistry().liveUnit(*object, i))
      SendMessageW(unit->window, WM_ACTIVATE, wParam, lParam);
  }
}

LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  forms::LiveWindow* window = liveWindowOf(handle);
  if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
  // Each unit handles its own notifications, owner-draw and colour messages.
  if (LRESULT reflected; forms::reflectToUnit(handle, message, wParam, lParam, reflected))
    return reflected;
  switch (message) {
    case forms::kCloseRequest:
      forms::closeRequested(*window);
      return 0;
    case WM_CLOSE:
      if (!forms::closeAllowed(*window)) return 0;
      break;
    case WM_DESTROY:
      forms::windowDestroying(*window);
      break;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcW(handle, message, wParam, lParam);
      SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
      forms::windowGone(window);
      return result;
    }
    case WM_ERASEBKGND:
      fillBackground(handle, reinterpret_cast<HDC>(wParam), window->windowProperties());
      return 1;
    case WM_SHOWWINDOW:
      forms::eventRefused(window->windowId, 0,
                          wParam ? forms::window_event::kShown : forms::window_event::kHidden);
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != handle &&
          setUnitPointer(reinterpret_cast<HWND>(wParam)))
        return TRUE;
      break;
    case WM_TIMER:
      if (forms::programTimerTicked(*window, wParam)) return 0;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) passDeactivationToUnits(*window, wParam, lParam);
      break;
    case WM_NCACTIVATE:
      if (!wParam && window->windowProperties().keepCaptionActive == 1)
        return DefWindowProcW(handle, message, TRUE, lParam);
      break;
    default:
      break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

forms::WindowCreation creationOf(uint32_t style, HWND parent, int32_t x, int32_t y, int32_t width,
                                 int32_t height) {
  return forms::WindowCreation{.callerStyle = style,
                               .left = x,
                               .top = y,
                               .width = width,
                               .height = height,
                               .hasParent = parent != nullptr,
                               .loadingModally = forms::formRegistry().loadingModally,
                               .hiddenOwnerExists = runtime::runtimeState().hiddenOwner != nullptr,
                               .screenWidth = GetSystemMetrics(SM_CXSCREEN),
                               .screenHeight = GetSystemMetrics(SM_CYSCREEN)};
}

void finishCreation(HWND handle, const forms::WindowProperties& properties,
                    const forms::WindowPlacement& at, int32_t width, int32_t height) {
  RECT outer;
  GetWindowRect(handle, &outer);
  if (outer.right - outer.left != width || outer.bottom - outer.top != height)
    MoveWindow(handle, at.left, at.top, width, height, FALSE);
  SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (properties.alwaysOnTop == 1)
    SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (properties.movable == 0) DeleteMenu(GetSystemMenu(handle, FALSE), SC_MOVE, MF_BYCOMMAND);
}

forms::LiveUnit* VELMORA_STDCALL createWindowUnit(const uint8_t* block, uint32_t blockLength,
                                                  uint32_t style, HWND parent, uintptr_t menu,
                                                  int32_t x, int32_t y, int32_t width,
                                                  int32_t height, uint32_t windowId,
                                                  uint32_t unitId, HWND, int32_t) {
  forms::WindowProperties properties;
  if (forms::readPropertyBlock(std::span(block, blockLength), properties) != forms::ReadStatus::kOk)
    return nullptr;
  const forms::WindowPlacement at =
      forms::windowPlacement(properties, creationOf(style, parent, x, y, width, height));
  HWND owner =
      parent ? parent : (at.ownedByHiddenOwner ? runtime::runtimeState().hiddenOwner : nullptr);
  const std::wstring windowClass = registeredClass(properties);
  HWND handle = CreateWindowExW(at.extendedStyle, windowClass.c_str(),
                                runtime::wideFromGbk(properties.caption).c_str(), at.style, at.left,
                                at.top, width, height, owner, reinterpret_cast<HMENU>(menu),
                                GetModuleHandleW(nullptr), nullptr);
  if (!handle) return nullptr;
  auto* window = new forms::LiveWindow;
  window->window = handle;
  window->windowId = windowId;
  window->unitId = unitId;
  window->hasParent = parent != nullptr;
  window->properties = properties;
  SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProcedure));
  finishCreation(handle, properties, at, width, height);
  return window;
}

// The stored place of an own property in the window's properties.
forms::PropertyRef ownProperty(forms::LiveWindow& window, forms::WindowProperty property) {
  forms::PropertyRef found;
  forms::forEachProperty(window.properties,
                         [&](const forms::PropertyInfo& info, forms::PropertyRef ref) {
                           if (info.index == forms::propertyIndex(property)) found = ref;
                         });
  return found;
}

int32_t VELMORA_STDCALL readWindowProperty(forms::LiveUnit* unit, int32_t ownIndex,
                                           forms::PropertyValue* out) {
  auto& window = *static_cast<forms::LiveWindow*>(unit);
  const auto property = forms::propertyOfOwnIndex<forms::WindowProperty>(ownIndex);
  if (property == forms::WindowProperty::kPosition) {
    out->first = IsIconic(window.window) ? 2 : IsZoomed(window.window) ? 3 : 0;
    return 1;
  }
  return forms::readPropertyRef(ownProperty(window, property), *out) ? 1 : 0;
}

int32_t VELMORA_STDCALL windowPropertyChanged(forms::LiveUnit* unit, int32_t ownIndex,
                                              const forms::PropertyValue* value, int32_t) {
  auto& window = *static_cast<forms::LiveWindow*>(unit);
  const auto property = forms::propertyOfOwnIndex<forms::WindowProperty>(ownIndex);
  forms::writePropertyRef(ownProperty(window, property), *value);
  if (property == forms::WindowProperty::kCaption)
    SetWindowTextW(window.window, runtime::wideFromGbk(window.windowProperties().caption).c_str());
  if (property == forms::WindowProperty::kBackgroundColour)
    InvalidateRect(window.window, nullptr, TRUE);
  return 0;
}

int32_t VELMORA_STDCALL serialiseWindow(forms::LiveUnit* unit, forms::SerialisedBlock* out) {
  const forms::Bytes block =
      forms::writeUnitProperties(static_cast<forms::LiveWindow*>(unit)->properties);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.empty() ? 1 : block.size());
  if (!memory) return 0;
  std::memcpy(GlobalLock(memory), block.data(), block.size());
  GlobalUnlock(memory);
  out->block = memory;
  out->length = static_cast<uint32_t>(block.size());
  return 1;
}

}  // namespace

void* windowUnitInterface(int32_t number) {
  switch (number) {
    case forms::kCreateUnit:
      return reinterpret_cast<void*>(createWindowUnit);
    case forms::kPropertyChanged:
      return reinterpret_cast<void*>(windowPropertyChanged);
    case forms::kSerialiseUnit:
      return reinterpret_cast<void*>(serialiseWindow);
    case forms::kReadProperty:
      return reinterpret_cast<void*>(readWindowProperty);
    default:
      return nullptr;
  }
}

}  // namespace velmora::controls
