// The program's read-only image as the runtime reads it at initialisation: the program data
// header, the library descriptors and the program entry. The program defines programHeader and
// programEntry; the runtime's start-up finds them at link time.
#pragma once

#include <cstdint>

#include "runtime/tagged_value.h"

#if defined(_WIN32) && defined(__i386__)
#define VELMORA_STDCALL __attribute__((stdcall))
#else
#define VELMORA_STDCALL
#endif

namespace velmora::runtime {

// The notify function of the runtime and of every library: notify(code, first, second).
using NotifyFunction = intptr_t(VELMORA_STDCALL*)(int32_t code, uintptr_t first, uintptr_t second);

// Library notify codes the runtime sends.
inline constexpr int32_t kLibraryNotifyStart = 1;  // first: the runtime's notify function
inline constexpr int32_t kLibraryNotifyShutdown = 6;

// One library: 36 words, of which the runtime reads the named ones; the rest are stored as the
// library's build left them.
struct LibraryDescriptor {
  uint32_t magic{};        // kLibraryMagic
  const char* identity{};  // 32 hexadecimal digits
  uint32_t numbers[7]{};
  const char* displayName{};
  uintptr_t reserved10[11]{};
  uint32_t unitTypeCount{};
  const void* unitTypes{};
  uintptr_t reserved23[2]{};
  uint32_t commandCount{};
  uintptr_t reserved26{};
  const Command* commands{};
  uintptr_t reserved28[2]{};
  NotifyFunction notify{};
  uintptr_t reserved31[5]{};
};
inline constexpr uint32_t kLibraryMagic = 20000101;

// Thirteen words at a fixed place in the program's read-only data.
struct ProgramHeader {
  uint32_t runMode{};
  uint32_t version{};
  uint32_t buildNumber{};
  const void* codeBase{};  // event handler offsets are relative to it
  const uint8_t* constants{};
  uint32_t constantsLength{};
  const uint8_t* windowData{};
  uint32_t windowDataLength{};
  uint32_t libraryCount{};
  const LibraryDescriptor* const* libraries{};
  uint32_t dllCommandCount{};
  const char* const* dllFileNames{};
  const char* const* dllCommandNames{};
};

#if defined(__i386__)
static_assert(sizeof(LibraryDescriptor) == 36 * 4);
static_assert(sizeof(ProgramHeader) == 13 * 4);
#endif

extern const ProgramHeader programHeader;
// Runs the program: initialises the runtime, opens the start window, runs the message loop.
int programEntry();

}  // namespace velmora::runtime
