// Text from service against the real runtime and kernel: the runtime is initialised in-process
// with the program's DLL command table.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "app/dll_command_table.h"
#include "app/text_from_service.h"
#include "runtime/entry_stubs.h"
#include "runtime/memory.h"
#include "runtime/value_blocks.h"
#include "runtime/win32/dll_commands.h"
#include "tests/support/gbk.h"
#include "tests/support/test_heap.h"

const velmora::runtime::ProgramHeader velmora::runtime::programHeader = {
    .runMode = 3,
    .dllCommandCount = velmora::app::kDllCommandCount,
    .dllFileNames = velmora::app::kDllFileNames,
    .dllCommandNames = velmora::app::kDllCommandNames,
};

namespace velmora::app {
namespace {

using testing::gbk;
using testing::TestHeap;

class TextFromService : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    runtime::callRuntimeService(runtime::runtimeEntryTable.runtimeService,
                                runtime::kServiceInitialiseRuntime);
  }

  // The converted text of body; the body's block is the test's own.
  std::optional<std::string> convert(std::string_view body) {
    void* replyBody = runtime::byteSetFromBytes(body.data(), static_cast<int32_t>(body.size()));
    char* text = textFromService(replyBody);
    EXPECT_EQ(heap.liveBlocks(), (replyBody ? 1u : 0u) + (text ? 1u : 0u))
        << "a temporary was not released";
    runtime::freeBlock(replyBody);
    if (text == nullptr) return std::nullopt;
    std::string copy = text;
    runtime::freeBlock(text);
    return copy;
  }

  TestHeap heap;
};

// Runs first: no DLL command has been bound before it.
TEST_F(TextFromService, EmptyBodyIsTheEmptyTextWithoutAKernelCall) {
  EXPECT_EQ(textFromService(nullptr), nullptr);
  EXPECT_TRUE(heap.requestedSizes.empty());
  EXPECT_FALSE(runtime::dllCommandBound(dll_command::kMultiByteToWideChar));
  EXPECT_FALSE(runtime::dllCommandBound(dll_command::kWideCharToMultiByte));
}

TEST_F(TextFromService, ChineseBecomesItsGbkBytes) {
  const std::string expected = gbk(u8"登入成功");
  ASSERT_EQ(expected.size(), 8u);
  EXPECT_EQ(convert("\xe7\x99\xbb\xe5\x85\xa5\xe6\x88\x90\xe5\x8a\x9f"), expected);
  // The test's 12-byte body; the UTF-16 byte set of 4 units and a zero unit; a text of 9 blanks;
  // the 8-byte copy.
  EXPECT_EQ(heap.requestedSizes, (std::vector<size_t>{12 + 8, 10 + 8, 9 + 1, 8 + 1}));
  EXPECT_TRUE(runtime::dllCommandBound(dll_command::kMultiByteToWideChar));
  EXPECT_FALSE(runtime::dllCommandBound(dll_command::kLstrlenW));
}

TEST_F(TextFromService, KeepsEveryByteOfASimpleReply) {
  EXPECT_EQ(convert("1"), "1");
  EXPECT_EQ(convert("1\r\n"), "1\r\n");
}

TEST_F(TextFromService, AZeroByteEndsTheText) {
  EXPECT_EQ(convert(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(convert(std::string_view("\0x", 2)), std::nullopt);
}

TEST_F(TextFromService, CharacterWithoutAGbkFormBecomesTheDefaultCharacter) {
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(936, &info));
  const std::string expected =
      std::string("a") + reinterpret_cast<const char*>(info.DefaultChar) + "b";
  EXPECT_EQ(convert("a\xe0\xb8\x81"
                    "b"),
            expected);  // U+0E01, a Thai letter
}

}  // namespace
}  // namespace velmora::app
