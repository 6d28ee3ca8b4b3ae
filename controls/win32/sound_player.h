// The way the units play sounds: PlaySoundA of the multimedia library, loaded at the first sound
// (see runtime/win32/system_library.h), which a test can replace to see what is played.
#pragma once

#include <windows.h>
// after windows.h
#include <mmsystem.h>

namespace velmora::controls {

using PlaySoundFunction = BOOL(WINAPI*)(LPCSTR sound, HMODULE module, DWORD flags);

// PlaySoundA, loading the library on the first call; FALSE, playing nothing, when it is missing.
BOOL WINAPI playSoundFromLibrary(LPCSTR sound, HMODULE module, DWORD flags);

inline PlaySoundFunction playSoundFunction = playSoundFromLibrary;

}  // namespace velmora::controls
