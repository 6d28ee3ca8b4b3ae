#include "forms/format/unit_table.h"

#include <utility>

#include "forms/format/unit_ids.h"

namespace velmora::forms {

UnitTable UnitTable::build(const std::vector<uint32_t>& ids, const std::vector<Bytes>& records) {
  UnitTable table;
  table.count_ = static_cast<uint32_t>(ids.size());
  ArchiveWriter writer;
  for (uint32_t id : ids) writer.writeWord(id);
  uint32_t offset = 0;
  for (const auto& record : records) {
    writer.writeWord(offset);
    offset += 4 + static_cast<uint32_t>(record.size());
  }
  for (const auto& record : records) writer.writeData(record);
  table.body_ = writer.take();
  return table;
}

std::optional<UnitTable> UnitTable::read(ArchiveReader& reader) {
  UnitTable table;
  table.count_ = reader.readWord();
  uint32_t length = reader.readWord();
  auto body = reader.readBytes(length);
  if (!reader.ok()) return std::nullopt;
  if (uint64_t{table.count_} * 8 > length) {
    reader.fail(ReadStatus::kMalformed);
    return std::nullopt;
  }
  table.body_.assign(body.begin(), body.end());
  // Entries lie inside the body, in index order, without overlapping.
  uint64_t entriesSize = length - table.entriesStart();
  uint64_t previousEnd = 0;
  for (uint32_t i = 0; i < table.count_; ++i) {
    uint64_t offset = table.offsetAt(i);
    if (offset < previousEnd || offset + 4 > entriesSize) {
      reader.fail(ReadStatus::kMalformed);
      return std::nullopt;
    }
    uint64_t recordLength = loadWord(table.body_.data() + table.entriesStart() + offset);
    previousEnd = offset + 4 + recordLength;
    if (previousEnd > entriesSize || !readUnitRecord(std::as_const(table).recordAt(i))) {
      reader.fail(ReadStatus::kMalformed);
      return std::nullopt;
    }
  }
  return table;
}

void UnitTable::write(ArchiveWriter& writer) const {
  writer.writeWord(count_);
  writer.writeData(body_);
}

uint32_t UnitTable::idAt(uint32_t index) const {
  return index < count_ ? loadWord(body_.data() + size_t{index} * 4) : 0;
}

uint32_t UnitTable::offsetAt(uint32_t index) const {
  return loadWord(body_.data() + size_t{count_} * 4 + size_t{index} * 4);
}

std::optional<uint32_t> UnitTable::indexOf(uint32_t id) const {
  if (!isWellFormedId(id)) return std::nullopt;
  for (uint32_t i = 0; i < count_; ++i) {
    if (idAt(i) == id) return i;
  }
  return std::nullopt;
}

std::span<uint8_t> UnitTable::recordAt(uint32_t index) {
  if (index >= count_) return {};
  uint8_t* entry = body_.data() + entriesStart() + offsetAt(index);
  return {entry + 4, loadWord(entry)};
}

std::span<const uint8_t> UnitTable::recordAt(uint32_t index) const {
  if (index >= count_) return {};
  const uint8_t* entry = body_.data() + entriesStart() + offsetAt(index);
  return {entry + 4, loadWord(entry)};
}

UnitRecord UnitTable::unitAt(uint32_t index) const {
  // Every record was checked when the table was read or changed.
  return index < count_ ? *readUnitRecord(recordAt(index)) : UnitRecord{};
}

UnitRecordPlaces UnitTable::placesAt(uint32_t index) const {
  UnitRecordPlaces places;
  readUnitRecord(recordAt(index), &places);
  return places;
}

void UnitTable::relocateHandlers(uint32_t codeBase) {
  for (uint32_t i = 0; i < count_; ++i) {
    UnitRecordPlaces places = placesAt(i);
    auto record = recordAt(i);
    for (size_t h = 0; h < places.handlerCount; ++h) {
      uint8_t* word = record.data() + places.handlers + h * places.handlerStride;
      uint32_t offset = loadWord(word);
      const bool bound = offset != static_cast<uint32_t>(kNoHandler) && codeBase != 0;
      storeWord(word, bound ? codeBase + offset : 0);
    }
  }
}

bool UnitTable::replaceRecord(uint32_t index, std::span<const uint8_t> record) {
  if (index >= count_ || !readUnitRecord(record)) return false;
  size_t entry = entriesStart() + offsetAt(index);
  uint32_t oldLength = loadWord(body_.data() + entry);
  uint32_t newLength = static_cast<uint32_t>(record.size());
  Bytes body;
  body.reserve(body_.size() - oldLength + newLength);
  body.insert(body.end(), body_.begin(), body_.begin() + entry);
  ArchiveWriter lengthWord;
  lengthWord.writeWord(newLength);
  body.insert(body.end(), lengthWord.bytes().begin(), lengthWord.bytes().end());
  body.insert(body.end(), record.begin(), record.end());
  body.insert(body.end(), body_.begin() + entry + 4 + oldLength, body_.end());
  uint32_t changed = offsetAt(index);
  body_ = std::move(body);
  for (uint32_t i = 0; i < count_; ++i) {
    uint32_t offset = offsetAt(i);
    if (offset > changed) {
      storeWord(body_.data() + size_t{count_} * 4 + size_t{i} * 4, offset + newLength - oldLength);
    }
  }
  return true;
}

void UnitTable::replaceText(uint32_t index, std::string_view text) {
  if (index >= count_) return;
  text = text.substr(0, text.find('\0'));
  UnitRecordPlaces places = placesAt(index);
  auto old = recordAt(index);
  Bytes record(old.begin(), old.begin() + places.textStart);
  record.insert(record.end(), text.begin(), text.end());
  record.push_back(0);
  record.insert(record.end(), old.begin() + places.textEnd, old.end());
  replaceRecord(index, record);
}

}  // namespace velmora::forms
