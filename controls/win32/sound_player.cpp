#include "controls/win32/sound_player.h"

#include "runtime/win32/system_library.h"

namespace velmora::controls {

BOOL WINAPI playSoundFromLibrary(LPCSTR sound, HMODULE module, DWORD flags) {
  static const auto playSound =
      runtime::systemLibraryFunction<PlaySoundFunction>(L"winmm.dll", "PlaySoundA");
  return playSound != nullptr && playSound(sound, module, flags);
}

}  // namespace velmora::controls
