// The library descriptors: identities, unit type slots, command tables and notify functions.
#include "app/libraries.h"

#include <array>

#include "controls/win32/picture_bitmap.h"
#include "controls/win32/runtime_link.h"
#include "controls/win32/standard_units.h"
#include "forms/format/unit_ids.h"
#include "forms/format/unit_type_descriptors.h"
#include "forms/live/win32/form_registry.h"
#include "forms/live/win32/live_window.h"
#include "net/win32/http_read.h"
#include "net/win32/http_requests.h"
#include "runtime/commands/core_commands.h"
#include "runtime/win32/runtime.h"

namespace velmora::app {
namespace {

// The interface function of a unit type: the window type comes with the form runtime, the
// others (the standard units, the super button, the transparent label) with the unit types.
forms::UnitTypeInterface interfaceOf(uint32_t typeCode) {
  return typeCode == forms::kWindowType ? controls::windowUnitInterface
                                        : controls::standardUnitTypeInterface(typeCode);
}

// The unit type slots of a library: the slots of the types this program uses are filled, the
// others are zero.
template <size_t kSlots>
std::array<forms::UnitTypeDescriptor, kSlots> unitTypeSlots(uint32_t library) {
  std::array<forms::UnitTypeDescriptor, kSlots> slots{};
  for (uint32_t i = 0; i < kSlots; ++i) {
    const uint32_t code = forms::unitTypeCode(library, i);
    slots[i] = forms::unitTypeDescriptor(code, interfaceOf(code));
  }
  return slots;
}

const auto coreUnitTypes = unitTypeSlots<51>(1);
const auto firstExtendedUnitTypes = unitTypeSlots<5>(4);
const auto secondExtendedUnitTypes = unitTypeSlots<9>(5);

const runtime::Command internetCommands[kInternetCommandCount] = {
    net::httpRead, net::startHttpRead, net::takeHttpReply, net::cancelHttpRead};

// Each library keeps the runtime's notify function, handed over at start.
template <int kLibrary>
runtime::NotifyFunction runtimeNotifyOf = nullptr;

// The libraries that hold unit types: their units reach the runtime through its notify function.
constexpr bool holdsUnitTypes(int library) {
  return library == 1 || library == 4 || library == 5;
}

// The core library brings the form runtime: its registry is in place before the runtime loads
// the window data.
template <int kLibrary>
intptr_t VELMORA_STDCALL libraryNotify(int32_t code, uintptr_t first, uintptr_t) {
  if (code == runtime::kLibraryNotifyStart) {
    runtimeNotifyOf<kLibrary> = reinterpret_cast<runtime::NotifyFunction>(first);
    if (kLibrary == 1) {
      forms::installFormRuntime();
      runtime::setPictureService(controls::pictureServiceNotify);
    }
    if (holdsUnitTypes(kLibrary)) controls::setUnitsRuntimeNotify(runtimeNotifyOf<kLibrary>);
    if (kLibrary == 3) net::setInternetRuntimeNotify(runtimeNotifyOf<kLibrary>);
  }
  if (code == runtime::kLibraryNotifyShutdown) {
    runtimeNotifyOf<kLibrary> = nullptr;
    if (holdsUnitTypes(kLibrary)) controls::setUnitsRuntimeNotify(nullptr);
    if (kLibrary == 1) runtime::setPictureService(nullptr);
    if (kLibrary == 3) net::setInternetRuntimeNotify(nullptr);
  }
  return 0;
}

constexpr uint32_t kCoreNumbers[7] = {5, 7, 64, 3, 7, 3, 7};

const runtime::LibraryDescriptor coreLibrary = {
    .magic = runtime::kLibraryMagic,
    .identity = "7820449AB9264133A645FE1B23A8A17F",
    .numbers = {kCoreNumbers[0], kCoreNumbers[1], kCoreNumbers[2], kCoreNumbers[3], kCoreNumbers[4],
                kCoreNumbers[5], kCoreNumbers[6]},
    .displayName = "\xba\xcb\xd0\xc4\xbf\xe2",  // 核心库
    .unitTypeCount = coreUnitTypes.size(),
    .unitTypes = coreUnitTypes.data(),
    .commandCount = runtime::kCoreCommandCount,
    .commands = runtime::coreCommands,
    .notify = libraryNotify<1>,
};

const runtime::LibraryDescriptor specialFunctionsLibrary = {
    .magic = runtime::kLibraryMagic,
    .identity = "153678388A1140AF8A015AFDBAE352DE",
    .displayName = "\xcc\xd8\xca\xe2\xb9\xa6\xc4\xdc\xbf\xe2",  // 特殊功能库
    .notify = libraryNotify<2>,
};

const runtime::LibraryDescriptor internetLibrary = {
    .magic = runtime::kLibraryMagic,
    .identity = "94DBD0D157054E109F83620E6BA35A5E",
    .displayName = "\xbb\xa5\xc1\xaa\xcd\xf8\xbf\xe2",  // 互联网库
    .commandCount = std::size(internetCommands),
    .commands = internetCommands,
    .notify = libraryNotify<3>,
};

const runtime::LibraryDescriptor firstExtendedUiLibrary = {
    .magic = runtime::kLibraryMagic,
    .identity = "17301384B3E84FA6A0B414564E424A57",
    .displayName = "\xc0\xa9\xd5\xb9\xbd\xe7\xc3\xe6\xbf\xe2\xd2\xbb",  // 扩展界面库一
    .unitTypeCount = firstExtendedUnitTypes.size(),
    .unitTypes = firstExtendedUnitTypes.data(),
    .notify = libraryNotify<4>,
};

const runtime::LibraryDescriptor secondExtendedUiLibrary = {
    .magic = runtime::kLibraryMagic,
    .identity = "90D943D7F4FE43C1842214EC2623D620",
    .displayName = "\xc0\xa9\xd5\xb9\xbd\xe7\xc3\xe6\xbf\xe2\xb6\xfe",  // 扩展界面库二
    .unitTypeCount = secondExtendedUnitTypes.size(),
    .unitTypes = secondExtendedUnitTypes.data(),
    .notify = libraryNotify<5>,
};

}  // namespace

const runtime::LibraryDescriptor* const programLibraries[kProgramLibraryCount] = {
    &coreLibrary, &specialFunctionsLibrary, &internetLibrary, &firstExtendedUiLibrary,
    &secondExtendedUiLibrary};

}  // namespace velmora::app
