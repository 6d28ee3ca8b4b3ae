// Bounded reading and growing writing of the program data's archive conventions: little-endian
// words and 16-bit values, counted texts, data blocks and text lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::forms {

using Bytes = std::vector<uint8_t>;
using TextList = std::vector<std::string>;

// Why reading stopped. Once a reader has failed it stays failed and every later read yields
// zero or empty values, so a sequence of reads needs one check at its end.
enum class ReadStatus {
  kOk,
  kTruncated,       // the stream ended before an item did (the archive error)
  kVersionTooHigh,  // a property block newer than its type reads
  kMalformed,       // an item that cannot be what the data claims (a bad offset or count)
};

// A 16-bit item count of this value announces a 32-bit count that follows.
inline constexpr uint16_t kLongCountEscape = 0xFFFF;

class ArchiveReader {
 public:
  explicit ArchiveReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  uint32_t readWord();
  int32_t readInt() { return static_cast<int32_t>(readWord()); }
  uint16_t readShort();
  // The next n bytes as a view into the input; empty on failure.
  std::span<const uint8_t> readBytes(size_t n);
  Bytes readData();               // word length, then the bytes
  std::string readCountedText();  // word length, then the bytes; ends at an inner zero
  std::string readZeroText();     // bytes up to a zero byte, which is consumed
  TextList readTextList();        // 16-bit count (0xFFFF: a word follows), counted texts

  void fail(ReadStatus why);
  bool ok() const { return status_ == ReadStatus::kOk; }
  ReadStatus status() const { return status_; }
  size_t position() const { return position_; }
  size_t remaining() const { return bytes_.size() - position_; }
  bool atEnd() const { return position_ == bytes_.size(); }

 private:
  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
  ReadStatus status_ = ReadStatus::kOk;
};

class ArchiveWriter {
 public:
  void writeWord(uint32_t value);
  void writeInt(int32_t value) { writeWord(static_cast<uint32_t>(value)); }
  void writeShort(uint16_t value);
  void writeBytes(std::span<const uint8_t> bytes);
  void writeData(std::span<const uint8_t> bytes);
  void writeCountedText(std::string_view text);
  void writeZeroText(std::string_view text);  // stops at an inner zero byte
  void writeTextList(const TextList& texts);

  const Bytes& bytes() const { return bytes_; }
  Bytes take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

// Little-endian words inside a byte block held in memory.
uint32_t loadWord(const uint8_t* at);
void storeWord(uint8_t* at, uint32_t value);

}  // namespace velmora::forms
