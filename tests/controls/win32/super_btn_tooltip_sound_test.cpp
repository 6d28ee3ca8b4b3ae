// The super button's tooltip and sounds: the tooltip control holds the button's text, and the
// sounds played on hover and click are the ones the properties chose.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/win32/sound_player.h"
#include "tests/controls/win32/super_btn_sample.h"
#include "tests/controls/win32/unit_host.h"
#include "tests/support/gbk.h"

namespace velmora::controls {
namespace {

using testing::flatButton;
using testing::kButton;
using testing::moveAway;
using testing::pumpMessages;
using testing::screenPoint;
using testing::UnitHost;

struct ToolTipSearch {
  HWND button;
  HWND found;
};

BOOL CALLBACK findToolTip(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<ToolTipSearch*>(data);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = search.button;
  tool.uId = 1;
  if (!SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
  search.found = window;
  return FALSE;
}

// The tooltip control that has a tool for the button, or null.
HWND toolTipOf(HWND button) {
  ToolTipSearch search{button, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), findToolTip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The text and rectangle of the button's tool.
struct Tool {
  std::wstring text;
  RECT rect;
};

Tool toolOf(HWND toolTip, HWND button) {
  wchar_t text[256] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = button;
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageW(toolTip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = nullptr;
  SendMessageW(toolTip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
  return {text, tool.rect};
}

void setToolTip(forms::LiveUnit* unit, const std::string& text) {
  auto changed = testing::unitFunction<forms::PropertyChangedFunction>(forms::kSuperBtnType,
                                                                       forms::kPropertyChanged);
  const forms::PropertyValue value{reinterpret_cast<uintptr_t>(text.c_str()), 0};
  EXPECT_EQ(changed(unit, forms::ownIndexOf(forms::SuperBtnProperty::kToolTip), &value, 0), 0);
}

TEST(SuperBtnToolTip, TheToolTipHoldsTheTextAndCoversTheButton) {
  UnitHost host;
  forms::SuperBtnProperties properties = flatButton();
  properties.toolTip = testing::gbk(u8"复制充值地址");
  HWND button = UnitHost::windowOf(host.create(properties, kButton));
  HWND toolTip = toolTipOf(button);
  ASSERT_NE(toolTip, nullptr);
  const Tool tool = toolOf(toolTip, button);
  EXPECT_EQ(tool.text, L"复制充值地址");
  RECT client;
  GetClientRect(button, &client);
  EXPECT_TRUE(EqualRect(&tool.rect, &client));
}

// While alive, records the structure size of every tool the thread adds, changes or removes. The
// common controls of version 5, which a program without a version-6 manifest gets, refuse a tool
// whose size is beyond the one they know.
class ToolInfoSizes {
 public:
  ToolInfoSizes() {
    sizes().clear();
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, record, nullptr, GetCurrentThreadId());
    EXPECT_NE(hook_, nullptr);
  }
  ~ToolInfoSizes() { UnhookWindowsHookEx(hook_); }

  static std::vector<UINT>& sizes() {
    static std::vector<UINT> recorded;
    return recorded;
  }

 private:
  static LRESULT CALLBACK record(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION &&
        (sent->message == TTM_ADDTOOLW || sent->message == TTM_DELTOOLW ||
         sent->message == TTM_UPDATETIPTEXTW || sent->message == TTM_SETTOOLINFOW))
      sizes().push_back(reinterpret_cast<const TOOLINFOW*>(sent->lParam)->cbSize);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  HHOOK hook_ = nullptr;
};

TEST(SuperBtnToolTip, AnEmptyTextRemovesTheToolAndANewOneBringsItBack) {
  ToolInfoSizes toolInfoSizes;
  UnitHost host;
  forms::SuperBtnProperties properties = flatButton();
  properties.toolTip = "first";
  forms::LiveUnit* unit = host.create(properties, kButton);
  HWND button = UnitHost::windowOf(unit);
  HWND toolTip = toolTipOf(button);
  ASSERT_NE(toolTip, nullptr);
  setToolTip(unit, "");
  EXPECT_EQ(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 0);
  setToolTip(unit, "second");
  EXPECT_EQ(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(toolOf(toolTip, button).text, L"second");
  ASSERT_FALSE(ToolInfoSizes::sizes().empty());
  for (UINT size : ToolInfoSizes::sizes()) EXPECT_LE(size, TTTOOLINFOW_V2_SIZE);
}

TEST(SuperBtnToolTip, AButtonWithoutTextMakesNoToolTipUntilItGetsOne) {
  UnitHost host;
  forms::LiveUnit* unit = host.create(flatButton(), kButton);
  HWND button = UnitHost::windowOf(unit);
  EXPECT_EQ(toolTipOf(button), nullptr);
  setToolTip(unit, "later");
  HWND toolTip = toolTipOf(button);
  ASSERT_NE(toolTip, nullptr);
  EXPECT_EQ(toolOf(toolTip, button).text, L"later");
}

TEST(SuperBtnToolTip, TheTipShowsWhileTheMouseRestsOnTheButton) {
  UnitHost host;
  moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.toolTip = "tip";
  HWND button = UnitHost::windowOf(host.create(properties, kButton));
  HWND toolTip = toolTipOf(button);
  ASSERT_NE(toolTip, nullptr);
  EXPECT_FALSE(IsWindowVisible(toolTip));
  testing::moveMouseTo(screenPoint(host.window(), {80, 35}));
  for (int i = 0; i < 20 && !IsWindowVisible(toolTip); ++i) pumpMessages();
  EXPECT_TRUE(IsWindowVisible(toolTip));
  moveAway(host.window());
}

// What the button asked to play: a sound from memory as its bytes, or one by name.
struct PlayedSound {
  forms::Bytes bytes;
  std::string name;
  HMODULE module;
  DWORD flags;
};

std::vector<PlayedSound>& played() {
  static std::vector<PlayedSound> sounds;
  return sounds;
}

BOOL WINAPI recordSound(LPCSTR sound, HMODULE module, DWORD flags) {
  if (sound == nullptr) return TRUE;  // stopping what plays
  PlayedSound entry{{}, {}, module, flags};
  if ((flags & SND_RESOURCE) == SND_RESOURCE) {
    entry.name = sound;
  } else if (flags & SND_MEMORY) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(sound);
    uint32_t length = 0;
    std::memcpy(&length, bytes + 4, 4);  // of the RIFF chunk, after its first 8 bytes
    entry.bytes.assign(bytes, bytes + 8 + length);
  }
  played().push_back(entry);
  return TRUE;
}

// While alive, the units' sounds are recorded instead of played.
class SoundRecording {
 public:
  SoundRecording() {
    played().clear();
    playSoundFunction = recordSound;
  }
  ~SoundRecording() { playSoundFunction = playSoundFromLibrary; }
};

// A WAVE file's outline, told apart by its last byte.
forms::Bytes waveBytes(uint8_t mark) {
  return {'R', 'I', 'F', 'F', 5, 0, 0, 0, 'W', 'A', 'V', 'E', mark};
}

constexpr DWORD kFromMemory = SND_MEMORY | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT;
constexpr DWORD kFromResource = SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT;

TEST(SuperBtnSounds, HoverAndClickPlayTheirOwnSoundsFromMemory) {
  SoundRecording recording;
  UnitHost host;
  moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.hoverSound = waveBytes(1);
  properties.clickSound = waveBytes(2);
  host.create(properties, kButton);
  SetForegroundWindow(host.window());
  testing::moveMouseTo(screenPoint(host.window(), {80, 35}));
  ASSERT_EQ(played().size(), 1u);
  EXPECT_EQ(played()[0].bytes, waveBytes(1));
  EXPECT_EQ(played()[0].flags, kFromMemory);
  testing::clickAt(screenPoint(host.window(), {80, 35}));
  ASSERT_EQ(played().size(), 2u);
  EXPECT_EQ(played()[1].bytes, waveBytes(2));
  EXPECT_EQ(played()[1].flags, kFromMemory);
  moveAway(host.window());
}

TEST(SuperBtnSounds, TheBuiltInSoundFlagPlaysTheProgramsSoundForBoth) {
  SoundRecording recording;
  UnitHost host;
  moveAway(host.window());
  forms::SuperBtnProperties properties = flatButton();
  properties.builtInSound = 1;
  properties.hoverSound = waveBytes(1);
  properties.clickSound = waveBytes(2);
  host.create(properties, kButton);
  SetForegroundWindow(host.window());
  testing::clickAt(screenPoint(host.window(), {80, 35}));
  ASSERT_EQ(played().size(), 2u) << "hover, then click";
  for (const PlayedSound& sound : played()) {
    EXPECT_EQ(sound.name, "VELMORA_CLICK");
    EXPECT_EQ(sound.module, GetModuleHandleW(nullptr));
    EXPECT_EQ(sound.flags, kFromResource);
  }
  moveAway(host.window());
}

TEST(SuperBtnSounds, AButtonWithoutSoundsPlaysNothing) {
  SoundRecording recording;
  UnitHost host;
  moveAway(host.window());
  host.create(flatButton(), kButton);
  SetForegroundWindow(host.window());
  testing::clickAt(screenPoint(host.window(), {80, 35}));
  EXPECT_TRUE(played().empty());
  EXPECT_EQ(testing::recorder().events.size(), 2u) << "got focus and clicked all the same";
  moveAway(host.window());
}

// The multimedia library is not imported but loaded at the first sound: the loader must find
// PlaySoundA there (a stop request plays nothing and succeeds).
TEST(SuperBtnSounds, TheSoundFunctionIsFoundInTheMultimediaLibrary) {
  EXPECT_TRUE(playSoundFromLibrary(nullptr, nullptr, 0));
}

}  // namespace
}  // namespace velmora::controls
