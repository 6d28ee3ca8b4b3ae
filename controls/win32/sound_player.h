// The way the units play sounds: PlaySoundA, which a test can replace to see what is played.
#pragma once

#include <windows.h>
// after windows.h
#include <mmsystem.h>

namespace velmora::controls {

using PlaySoundFunction = BOOL(WINAPI*)(LPCSTR sound, HMODULE module, DWORD flags);
inline PlaySoundFunction playSoundFunction = PlaySoundA;

}  // namespace velmora::controls
