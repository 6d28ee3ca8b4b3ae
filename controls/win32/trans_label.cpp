// The transparent label: text drawn straight onto whatever lies behind it, with an optional
// raised, sunken or shadow effect. It paints no background, so before it shows a change it has
// the area behind it repainted: the window it lies on, then the units it overlaps.
#include <vector>

#include "controls/win32/colours.h"
#include "controls/win32/font.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/text_layout.h"
#include "controls/win32/unit_window.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

// The window the label lies on: up the parent chain to a popup window, or to the last window
// whose parent is no window of the program's.
HWND hostOf(HWND label) {
  HWND host = label;
  while ((GetWindowLongW(host, GWL_STYLE) & WS_POPUP) == 0) {
    HWND parent = GetParent(host);
    DWORD process = 0;
    if (parent == nullptr || !IsWindow(parent)) break;
    GetWindowThreadProcessId(parent, &process);
    if (process != GetCurrentProcessId()) break;
    host = parent;
  }
  return host;
}

// The visible descendants of `window`, each child's own descendants before the child itself.
void collectVisibleDescendants(HWND window, std::vector<HWND>& out) {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    collectVisibleDescendants(child, out);
    out.push_back(child);
  }
}

// Repaints what lies behind the label's client area, then the label over it.
void refreshBehind(HWND label) {
  HWND host = hostOf(label);
  RECT area;
  GetClientRect(label, &area);
  MapWindowPoints(label, nullptr, reinterpret_cast<POINT*>(&area), 2);
  if (host != label) {
    RECT inHost = area;
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&inHost), 2);
    InvalidateRect(host, &inHost, TRUE);
    UpdateWindow(host);
    std::vector<HWND> descendants;
    collectVisibleDescendants(host, descendants);
    for (auto it = descendants.rbegin(); it != descendants.rend(); ++it) {
      if (*it == label) continue;
      RECT bounds;
      RECT meeting;
      GetWindowRect(*it, &bounds);
      if (!IntersectRect(&meeting, &bounds, &area)) continue;
      MapWindowPoints(nullptr, *it, reinterpret_cast<POINT*>(&meeting), 2);
      RedrawWindow(*it, &meeting, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
    }
  }
  InvalidateRect(label, nullptr, FALSE);
}

struct TransLabelUnit : UnitOf<forms::TransLabelProperties> {
  UnitFont font;

  void normalise() {
    auto& p = properties;
    p.effect = clampChoice(p.effect, 3);
    p.horizontalAlignment = clampChoice(p.horizontalAlignment, 2);
    p.verticalAlignment = clampChoice(p.verticalAlignment, 2);
    p.wordWrap = p.wordWrap != 0;
  }

  bool open(const CreateRequest& request) {
    if (!createOwnClassWindow(this, L"_QV_TransLabel", request, 0, WS_EX_TRANSPARENT,
                              runtime::wideFromGbk(properties.caption).c_str())) {
      return false;
    }
    font.set(properties.font, FontUse::kOwnDrawing);
    return true;
  }

  bool applyChange(Property property) {
    if (property == Property::kCaption)
      SetWindowTextW(window, runtime::wideFromGbk(properties.caption).c_str());
    if (property == Property::kFont) font.set(properties.font, FontUse::kOwnDrawing);
    refreshBehind(window);
    return true;
  }

  void paint(HDC dc) const {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    if (text.empty()) return;
    const auto& p = properties;
    RECT area;
    GetClientRect(window, &area);
    HGDIOBJ oldFont = SelectObject(dc, font.handle());
    const TextLayout layout{p.horizontalAlignment, p.wordWrap != 0, p.verticalAlignment};
    drawLaidOutText(dc, text, area, layout, static_cast<COLORREF>(p.textColour & 0xFFFFFF),
                    p.effect);
    SelectObject(dc, oldFont);
  }

  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paint(dc);
        EndPaint(window, &ps);
        return true;
      }
      case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return true;
      case WM_GETFONT:  // as standard controls answer it, for whatever reads fonts
        result = reinterpret_cast<LRESULT>(font.handle());
        return true;
      case WM_MOVE:
        result = defaultProcessing(*this, message, wParam, lParam);
        refreshBehind(window);
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

void* transLabelInterface(int32_t number) {
  return UnitTypeFunctions<TransLabelUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
