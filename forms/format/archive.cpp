#include "forms/format/archive.h"

#include <algorithm>
#include <cstring>

namespace velmora::forms {

uint32_t loadWord(const uint8_t* at) {
  return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

void storeWord(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void ArchiveReader::fail(ReadStatus why) {
  if (status_ == ReadStatus::kOk) status_ = why;
}

std::span<const uint8_t> ArchiveReader::readBytes(size_t n) {
  if (!ok()) return {};
  if (n > remaining()) {
    fail(ReadStatus::kTruncated);
    return {};
  }
  auto bytes = bytes_.subspan(position_, n);
  position_ += n;
  return bytes;
}

uint32_t ArchiveReader::readWord() {
  auto bytes = readBytes(4);
  return bytes.empty() ? 0 : loadWord(bytes.data());
}

uint16_t ArchiveReader::readShort() {
  auto bytes = readBytes(2);
  return bytes.empty() ? 0 : static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

Bytes ArchiveReader::readData() {
  uint32_t length = readWord();
  auto bytes = readBytes(length);
  return Bytes(bytes.begin(), bytes.end());
}

std::string ArchiveReader::readCountedText() {
  uint32_t length = readWord();
  auto bytes = readBytes(length);
  auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  return std::string(bytes.begin(), end);
}

std::string ArchiveReader::readZeroText() {
  if (!ok()) return {};
  auto rest = bytes_.subspan(position_);
  auto end = std::find(rest.begin(), rest.end(), uint8_t{0});
  if (end == rest.end()) {
    fail(ReadStatus::kTruncated);
    return {};
  }
  std::string text(rest.begin(), end);
  position_ += text.size() + 1;
  return text;
}

TextList ArchiveReader::readTextList() {
  uint32_t count = readShort();
  if (count == kLongCountEscape) count = readWord();
  TextList texts;
  // Every text takes at least its length word, so a count beyond that is a lie: refuse it
  // before reserving room for it.
  if (count > remaining() / 4) {
    fail(ReadStatus::kTruncated);
    return texts;
  }
  texts.reserve(count);
  for (uint32_t i = 0; i < count && ok(); ++i) texts.push_back(readCountedText());
  if (!ok()) texts.clear();
  return texts;
}

void ArchiveWriter::writeWord(uint32_t value) {
  uint8_t bytes[4];
  storeWord(bytes, value);
  writeBytes(bytes);
}

void ArchiveWriter::writeShort(uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  writeBytes(bytes);
}

void ArchiveWriter::writeBytes(std::span<const uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ArchiveWriter::writeData(std::span<const uint8_t> bytes) {
  writeWord(static_cast<uint32_t>(bytes.size()));
  writeBytes(bytes);
}

void ArchiveWriter::writeCountedText(std::string_view text) {
  writeData({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

void ArchiveWriter::writeZeroText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  writeBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  writeBytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(""), 1));
}

void ArchiveWriter::writeTextList(const TextList& texts) {
  if (texts.size() < kLongCountEscape) {
    writeShort(static_cast<uint16_t>(texts.size()));
  } else {
    writeShort(kLongCountEscape);
    writeWord(static_cast<uint32_t>(texts.size()));
  }
  for (const auto& text : texts) writeCountedText(text);
}

}  // namespace velmora::forms
