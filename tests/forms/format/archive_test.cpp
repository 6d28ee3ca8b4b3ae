// Counted texts, data blocks, lists and the reader's bounds.
#include "forms/format/archive.h"

#include <gtest/gtest.h>

namespace velmora::forms {
namespace {

TEST(ArchiveTest, CountedTextEndsAtItsFirstZeroByte) {
  const uint8_t bytes[] = {5, 0, 0, 0, 'a', 'b', 0, 'c', 'd', 'x'};
  ArchiveReader reader(bytes);
  EXPECT_EQ(reader.readCountedText(), "ab");
  EXPECT_EQ(reader.position(), 9u);  // the whole counted length is consumed
  EXPECT_TRUE(reader.ok());
}

TEST(ArchiveTest, ListCountOfFFFFAnnouncesAWordCount) {
  const uint8_t bytes[] = {0xFF, 0xFF, 2, 0, 0, 0, 1, 0, 0, 0, 'a', 2, 0, 0, 0, 'b', 'c'};
  ArchiveReader reader(bytes);
  EXPECT_EQ(reader.readTextList(), (TextList{"a", "bc"}));
  EXPECT_TRUE(reader.atEnd());
}

TEST(ArchiveTest, ListsRoundTripOnBothSidesOfTheEscape) {
  for (size_t count : {size_t{0}, size_t{3}, size_t{0xFFFE}, size_t{0xFFFF}, size_t{0x10003}}) {
    TextList texts(count, "x");
    ArchiveWriter writer;
    writer.writeTextList(texts);
    size_t countBytes = count < 0xFFFF ? 2 : 6;
    EXPECT_EQ(writer.bytes().size(), countBytes + count * 5) << count;
    ArchiveReader reader(writer.bytes());
    EXPECT_EQ(reader.readTextList(), texts) << count;
    EXPECT_TRUE(reader.atEnd());
  }
}

TEST(ArchiveTest, LengthsBeyondTheInputFailWithoutReading) {
  const uint8_t hugeData[] = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2};
  ArchiveReader data(hugeData);
  EXPECT_TRUE(data.readData().empty());
  EXPECT_EQ(data.status(), ReadStatus::kTruncated);

  const uint8_t hugeList[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
  ArchiveReader list(hugeList);
  EXPECT_TRUE(list.readTextList().empty());
  EXPECT_EQ(list.status(), ReadStatus::kTruncated);

  const uint8_t unterminated[] = {'a', 'b'};
  ArchiveReader text(unterminated);
  EXPECT_EQ(text.readZeroText(), "");
  EXPECT_EQ(text.status(), ReadStatus::kTruncated);
}

TEST(ArchiveTest, FailureIsStickyAndLaterReadsYieldNothing) {
  const uint8_t bytes[] = {1, 0, 0, 0, 7};
  ArchiveReader reader(bytes);
  EXPECT_EQ(reader.readWord(), 1u);
  EXPECT_EQ(reader.readWord(), 0u);
  EXPECT_FALSE(reader.ok());
  EXPECT_EQ(reader.readShort(), 0);  // two bytes would be there, but the reader has failed
  reader.fail(ReadStatus::kMalformed);
  EXPECT_EQ(reader.status(), ReadStatus::kTruncated);  // the first reason stays
}

TEST(ArchiveTest, WriterStoresLittleEndianAndStopsZeroTextsAtAnInnerZero) {
  ArchiveWriter writer;
  writer.writeWord(0x11223344);
  writer.writeShort(0xA1B2);
  writer.writeZeroText(std::string_view("ab\0cd", 5));
  EXPECT_EQ(writer.bytes(), (Bytes{0x44, 0x33, 0x22, 0x11, 0xB2, 0xA1, 'a', 'b', 0}));
}

}  // namespace
}  // namespace velmora::forms
