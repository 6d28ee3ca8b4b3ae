// The builder on the sample sources in tests/forms/data: what it stores for each statement,
// the generated constants, handler list and named units, the dump of the result, and faults in
// sources, the GBK texts files' among them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"
#include "forms/format/window_data.h"
#include "program_data_generated.h"
#include "tests/support/gbk.h"
#include "tools/gbk_texts/gbk_texts.h"
#include "tools/program_data_builder/constants_source.h"
#include "tools/program_data_builder/generated_sources.h"
#include "tools/program_data_builder/window_assembly.h"
#include "tools/program_data_dump/program_data_dump.h"
#include "window_units_generated.h"

namespace velmora {
namespace {

using testing::gbk;
using tools::SourceError;

forms::Bytes fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return forms::Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<forms::WindowRecord> sampleWindows() {
  auto windows = forms::readWindowData({program_data::windowData, program_data::kWindowDataLength});
  EXPECT_TRUE(windows.has_value());
  return windows.value_or(std::vector<forms::WindowRecord>{});
}

template <class Block>
Block propertiesOf(const forms::UnitRecord& unit) {
  Block block;
  EXPECT_EQ(readPropertyBlock(unit.propertyBlock, block), forms::ReadStatus::kOk);
  return block;
}

forms::Bytes font(const std::string& face, int32_t height, int32_t weight) {
  forms::Bytes record(60, 0);
  forms::storeWord(record.data(), static_cast<uint32_t>(height));
  forms::storeWord(record.data() + 16, static_cast<uint32_t>(weight));
  record[23] = 134;
  std::copy(face.begin(), face.end(), record.begin() + 28);
  return record;
}

TEST(ProgramDataBuilderTest, WindowsAndUnitsKeepTheSourceOrderAndContainers) {
  auto windows = sampleWindows();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0].id, 0x52010001u);
  EXPECT_EQ(windows[0].reserved2, 0x19000001u);
  EXPECT_EQ(windows[1].id, 0x52000002u);
  const forms::UnitTable& units = windows[0].units;
  std::vector<uint32_t> ids;
  for (uint32_t i = 0; i < units.count(); ++i) ids.push_back(units.idAt(i));
  EXPECT_EQ(ids,
            (std::vector<uint32_t>{0x06010000, 0x16000003, 0x16000002, 0x16000001, 0x16000004}));
  EXPECT_EQ(units.unitAt(1).container, 0x16000001u);
  EXPECT_EQ(units.unitAt(2).container, 0x16000001u);
  EXPECT_EQ(units.unitAt(4).container, 0u);
  EXPECT_EQ(units.unitAt(3).children, (std::vector<uint32_t>{0x16000003, 0x16000002}));
  EXPECT_TRUE(units.unitAt(0).children.empty());
}

TEST(ProgramDataBuilderTest, UnitRecordsHoldNamesRectanglesFlagsTagsAndBindings) {
  auto windows = sampleWindows();
  ASSERT_EQ(windows.size(), 2u);
  forms::UnitRecord window = windows[0].units.unitAt(0);
  EXPECT_EQ(window.type, forms::kWindowType);
  EXPECT_EQ(window.name, "");
  EXPECT_EQ(window.width, 300);
  EXPECT_EQ(window.height, 450);
  EXPECT_EQ(window.flags, forms::kUnitVisible);
  EXPECT_EQ(window.events, (std::vector<forms::EventBinding>{{0, 0}}));
  EXPECT_EQ(window.pointerData, forms::Bytes(4, 0));

  forms::UnitRecord button = windows[0].units.unitAt(1);
  EXPECT_EQ(button.type, forms::kSuperBtnType);
  EXPECT_EQ(button.name, gbk(u8"超级按钮1"));
  EXPECT_EQ((std::vector<int32_t>{button.left, button.top, button.width, button.height}),
            (std::vector<int32_t>{10, 20, 72, 24}));
  EXPECT_EQ(button.flags, forms::kUnitVisible | forms::kUnitTabStop);
  EXPECT_EQ(button.tag, gbk(u8"标记"));
  EXPECT_EQ(button.events, (std::vector<forms::EventBinding>{{0, 4}}));

  EXPECT_EQ(windows[0].units.unitAt(2).flags,
            forms::kUnitVisible | forms::kUnitDisabled | forms::kUnitTabStop);
  // A handler bound again keeps its offset; a new one takes the next entry.
  EXPECT_EQ(windows[1].units.unitAt(0).events, (std::vector<forms::EventBinding>{{0, 8}}));
  EXPECT_EQ(windows[1].units.unitAt(1).events, (std::vector<forms::EventBinding>{{0, 4}}));
}

TEST(ProgramDataBuilderTest, PropertyValuesBecomeTheirStoredForms) {
  auto windows = sampleWindows();
  ASSERT_EQ(windows.size(), 2u);
  auto window = propertiesOf<forms::WindowProperties>(windows[0].units.unitAt(0));
  EXPECT_EQ(window.caption, "Velmora");
  EXPECT_EQ(window.backgroundColour, 0xFFFFFF);
  EXPECT_EQ(window.position, 1);

  auto button = propertiesOf<forms::SuperBtnProperties>(windows[0].units.unitAt(1));
  EXPECT_EQ(button.caption, gbk(u8"登录"));
  EXPECT_EQ(button.font, font(gbk(u8"微软雅黑"), -21, 700));
  EXPECT_EQ(button.drawBorder, 0);
  EXPECT_EQ(button.useSystemColours, 0);
  EXPECT_EQ(button.textColour, 0xFF0000);  // #0000ff stored as 0x00BBGGRR
  EXPECT_EQ(button.backgroundColour, forms::kDefaultColour);
  EXPECT_EQ(button.style, 0);  // not given: the default

  auto edit = propertiesOf<forms::EditBoxProperties>(windows[0].units.unitAt(2));
  EXPECT_EQ(edit.content, "line one\r\nline two");
  EXPECT_EQ(edit.font, font("", -16, 400));
  EXPECT_EQ(edit.inputMode, 2);
  EXPECT_EQ(edit.passwordCharacter, '*');

  auto group = propertiesOf<forms::GroupBoxProperties>(windows[0].units.unitAt(3));
  EXPECT_EQ(group.caption, gbk(u8"注册信息"));
  EXPECT_TRUE(group.font.empty());

  auto picture = propertiesOf<forms::PicBoxProperties>(windows[0].units.unitAt(4));
  EXPECT_EQ(picture.picture, fileBytes(VELMORA_SAMPLE_DATA_DIR "/pictures/dot.png"));
  EXPECT_EQ(picture.displayMode, 2);

  auto combo = propertiesOf<forms::ComboBoxProperties>(windows[1].units.unitAt(1));
  EXPECT_EQ(combo.text, gbk(u8">>选择运营商<<"));
  EXPECT_EQ(combo.items,
            (forms::TextList{gbk(u8"中国移动号段"), gbk(u8"中国联通号段"), gbk(u8"广电号段")}));
}

TEST(ProgramDataBuilderTest, GeneratedHeadersNameConstantsHandlersAndUnits) {
  EXPECT_STREQ(program_data::serviceHost(), "127.0.0.1:8765");
  EXPECT_STREQ(program_data::loginPath(), "/E/qx/login.php");
  EXPECT_EQ(program_data::kPauseOffset % 8, 0u);
  EXPECT_EQ(*program_data::pause(), 200.0);
#define VELMORA_HANDLER_NAME(name) #name,
  const std::vector<std::string> handlers = {VELMORA_PROGRAM_HANDLERS(VELMORA_HANDLER_NAME)};
#undef VELMORA_HANDLER_NAME
  EXPECT_EQ(handlers, (std::vector<std::string>{"sampleWindowCreated", "sampleButtonClicked",
                                                "secondWindowCreated"}));
  EXPECT_EQ(program_data::kHandlerCount, 3u);
  // Only what the sources give a code name: the second window has none.
  EXPECT_EQ(app::sample::kWindow, 0x52010001u);
  EXPECT_EQ(app::sample::kLoginButton.window, 0x52010001u);
  EXPECT_EQ(app::sample::kLoginButton.unit, 0x16000003u);
  EXPECT_EQ(app::sample::kPassword.unit, 0x16000002u);
}

TEST(ProgramDataBuilderTest, DumpShowsUnitsPropertiesAndBindingsReadably) {
  auto data = tools::readProgramDataFile(fileBytes(VELMORA_SAMPLE_DATA_FILE));
  ASSERT_TRUE(data.has_value());
  std::string dump = tools::dumpProgramData(*data);
  for (const char* expected : {
           "window 0x52010001, reserved 0x00000000 0x19000001, 5 units\n",
           "  unit 1 0x16000003 SuperBtn \"超级按钮1\"\n",
           "    in 0x16000001 \"分组框1\"\n",
           "    event 0 -> sampleButtonClicked (offset 4)\n",
           "      P21 font (font) = \"微软雅黑\" -21 bold charset 134\n",
           "      P24 textColour (colour) = #0000ff\n",
           "      P8 content (text) = \"line one\\r\\nline two\"\n",
           "      P10 picture (picture) = 73 bytes, PNG 3x2\n",
           "    children 0x16000003 0x16000002\n",
           "  serviceHost at 0 = \"127.0.0.1:8765\"\n",
       }) {
    EXPECT_NE(dump.find(expected), std::string::npos) << "missing: " << expected;
  }
}

TEST(ProgramDataBuilderTest, FaultsInSourcesNameTheirFileAndLine) {
  struct Case {
    const char* source;
    const char* message;
  };
  const Case cases[] = {
      {"unit 0x16000001 Label \"a\"", "t.win:1: a statement before the first window"},
      {"window 0x52000001 0x06000001\nunit 0x16000001 Button \"a\"",
       "t.win:2: unknown unit type: Button"},
      {"window 0x52000001 0x06000001\nunit 0x16000001 Label \"a\"\n  in \"b\"",
       "t.win:2: no unit is named b"},
      {"window 0x52000001 0x06000001\n  P99 1", "t.win:2: window has no property P99"},
      {"window 0x52000001 0x06000001\n  P8 12", "t.win:2: a value of the wrong kind for caption"},
      {"window 0x52000001 0x06000001\nunit 0x16000001 EditBox \"a\"\n  P26 \"x\"",
       "t.win:3: property selectedText is not stored"},
      {"window 0x52000001 0x00000001", "t.win:1: not a well-formed window unit id: 0x00000001"},
      {"window 0x52000001 0x06000001\n  P8 \"open", "t.win:2: a quoted text does not end"},
      {"window 0x52000001 0x06000001\n  flags shown", "t.win:2: unknown flag: shown"},
      {"window 0x52000001 0x06000001\nunit 0x06000001 Label \"a\"",
       "t.win:2: a second unit of this window with this id"},
      {"window 0x52000001 0x06000001\n  \"loose\"",
       "t.win:2: a quoted text that continues nothing"},
      {"window 0x52000001 0x06000001\n  code Main",
       "t.win:1: a window's code name must be a snake_case name like main_window: Main"},
      {"window 0x52000001 0x06000001\n  code w\nunit 0x16000001 Label \"a\"\n  code userName",
       "t.win:3: a unit's code name must be a constant name like kUserName: userName"},
      {"window 0x52000001 0x06000001\n  code w\nunit 0x16000001 Label \"a\"\n  code kA\n"
       "unit 0x16000002 Label \"b\"\n  code kA",
       "t.win:5: a second unit of this window with the code name kA"},
      {"window 0x52000001 0x06000001\nunit 0x16000001 Label \"a\"\n  code kA",
       "t.win:2: a code name in a window without one: kA"},
      {"window 0x52000001 0x06000001\n  code w\nwindow 0x52000002 0x06000002\n  code w",
       "t.win:3: a second window with the code name w"},
  };
  for (const Case& c : cases) {
    try {
      const auto windows = tools::readWindowSource("t.win", c.source, ".");
      tools::assembleWindows(windows);
      tools::generatedUnitsHeader(windows);
      ADD_FAILURE() << "accepted: " << c.source;
    } catch (const SourceError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  EXPECT_THROW(tools::buildConstants("c.txt", "text a \"${MISSING}\"", {}), SourceError);
  EXPECT_THROW(tools::buildConstants("c.txt", "text a \"x\"\ntext a \"y\"", {}), SourceError);
  EXPECT_THROW(tools::buildConstants("c.txt", "text Upper \"x\"", {}), SourceError);
}

TEST(ProgramDataBuilderTest, GbkTextsFailOnATextWithoutGbkFormNamingIt) {
  struct Case {
    const char* source;
    const char* message;
  };
  const Case cases[] = {
      {"kFine = \"好\"\nkSmile = \"\xF0\x9F\x98\x80\"",
       "t.txt:2: kSmile: a text that GBK cannot encode: \"\xF0\x9F\x98\x80\""},
      {"kA = \"a\"\nkA = \"b\"", "t.txt:2: a second text named kA"},
      {"lower = \"a\"", "t.txt:1: a name must be a constant name like kName: lower"},
  };
  for (const Case& c : cases) {
    try {
      tools::gbkTextsHeader("t.txt", c.source, "ns");
      ADD_FAILURE() << "accepted: " << c.source;
    } catch (const SourceError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace velmora
