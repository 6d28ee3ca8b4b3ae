#include "app/libraries.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "forms/format/unit_type_descriptors.h"
#include "net/win32/http_read.h"
#include "runtime/commands/core_commands.h"
#include "runtime/win32/runtime.h"

namespace velmora::app {
namespace {

struct Expected {
  uint32_t slots;
  std::set<std::string> filled;  // English names of the filled slots
  uint32_t commands;
};

TEST(Libraries, FiveLibrariesWithTheirSlotsAndCommands) {
  const Expected expected[kProgramLibraryCount] = {
      {51,
       {"window", "EditBox", "PicBox", "ShapeBox", "GroupBox", "Label", "CheckBox", "ComboBox"},
       25},
      {0, {}, 0},
      {0, {}, 4},
      {5, {"TransLabel"}, 0},
      {9, {"SuperBtn", "CartoonBox"}, 0},
  };
  std::set<std::string> identities;
  for (uint32_t i = 0; i < kProgramLibraryCount; ++i) {
    const runtime::LibraryDescriptor& library = *programLibraries[i];
    EXPECT_EQ(library.magic, runtime::kLibraryMagic);
    const std::string identity = library.identity;
    EXPECT_EQ(identity.size(), 32u);
    EXPECT_EQ(identity.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    identities.insert(identity);
    EXPECT_NE(library.notify, nullptr);
    EXPECT_EQ(library.unitTypeCount, expected[i].slots) << "library " << i + 1;
    EXPECT_EQ(library.commandCount, expected[i].commands) << "library " << i + 1;

    std::set<std::string> filled;
    const auto* slots = static_cast<const forms::UnitTypeDescriptor*>(library.unitTypes);
    for (uint32_t slot = 0; slot < library.unitTypeCount; ++slot) {
      if (slots[slot].englishName) filled.insert(slots[slot].englishName);
    }
    EXPECT_EQ(filled, expected[i].filled) << "library " << i + 1;
  }
  EXPECT_EQ(identities.size(), kProgramLibraryCount);

  // The slot of a type is its code's low word minus one.
  const auto* core = static_cast<const forms::UnitTypeDescriptor*>(programLibraries[0]->unitTypes);
  EXPECT_STREQ(core[13].englishName, "ComboBox");
  const auto* second =
      static_cast<const forms::UnitTypeDescriptor*>(programLibraries[4]->unitTypes);
  EXPECT_STREQ(second[7].englishName, "CartoonBox");

  EXPECT_EQ(programLibraries[0]->commands, runtime::coreCommands);
  EXPECT_EQ(programLibraries[2]->commands[0], &net::httpRead);
}

// A library reaches the picture service through the runtime's notify function, once the core
// library has started.
TEST(Libraries, TheCoreLibraryBringsThePictureService) {
  programLibraries[0]->notify(runtime::kLibraryNotifyStart,
                              reinterpret_cast<uintptr_t>(&runtime::runtimeNotify), 0);
  std::ifstream file(VELMORA_PICTURES_DIR "/logo.png", std::ios::binary);
  const std::vector<uint8_t> logo{std::istreambuf_iterator<char>(file), {}};
  ASSERT_FALSE(logo.empty());
  struct {
    const uint8_t* bytes;
    uint32_t length;
  } request{logo.data(), static_cast<uint32_t>(logo.size())};
  struct {
    HBITMAP bitmap;
    int32_t width;
    int32_t height;
  } made{};
  EXPECT_EQ(runtime::runtimeNotify(1003, reinterpret_cast<uintptr_t>(&request),
                                   reinterpret_cast<uintptr_t>(&made)),
            1);
  EXPECT_NE(made.bitmap, nullptr);
  EXPECT_EQ(made.width, 90);
  EXPECT_EQ(made.height, 90);
  DeleteObject(made.bitmap);

  const uint8_t broken[] = {0x89, 'P', 'N', 'G', 0, 1};
  request = {broken, sizeof broken};
  EXPECT_EQ(runtime::runtimeNotify(1003, reinterpret_cast<uintptr_t>(&request),
                                   reinterpret_cast<uintptr_t>(&made)),
            0);
  EXPECT_EQ(made.bitmap, nullptr);
  programLibraries[0]->notify(runtime::kLibraryNotifyShutdown, 0, 0);
}

}  // namespace
}  // namespace velmora::app
