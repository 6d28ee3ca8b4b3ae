#include "forms/format/unit_record.h"

#include "forms/format/unit_ids.h"

namespace velmora::forms {
namespace {

constexpr int kHeaderReservedWords = 4;
constexpr int kTrailerReservedWords = 5;

// Reads a count of items of at least itemSize bytes each, refusing one the rest cannot hold.
uint32_t readCount(ArchiveReader& reader, size_t itemSize) {
  uint32_t count = reader.readWord();
  if (count > reader.remaining() / itemSize) reader.fail(ReadStatus::kTruncated);
  return reader.ok() ? count : 0;
}

void readMenuItemPart(ArchiveReader& reader, UnitRecord& unit, UnitRecordPlaces& places) {
  reader.readWord();
  reader.readWord();
  places.flags = reader.position();
  unit.flags = reader.readWord();
  places.textStart = reader.position();
  unit.caption = reader.readZeroText();
  places.textEnd = reader.position();
  places.handlers = reader.position();
  places.handlerCount = 1;
  places.handlerStride = 4;
  unit.menuHandler = reader.readInt();
}

void readControlPart(ArchiveReader& reader, UnitRecord& unit, UnitRecordPlaces& places) {
  places.liveObject = reader.position();
  reader.readWord();
  unit.left = reader.readInt();
  unit.top = reader.readInt();
  unit.width = reader.readInt();
  unit.height = reader.readInt();
  places.cursor = reader.position();
  reader.readWord();
  unit.container = reader.readWord();
  uint32_t childCount = readCount(reader, 4);
  for (uint32_t i = 0; i < childCount; ++i) unit.children.push_back(reader.readWord());
  unit.pointerData = reader.readData();
  places.textStart = reader.position();
  unit.tag = reader.readZeroText();
  places.textEnd = reader.position();
  reader.readWord();
  places.flags = reader.position();
  unit.flags = reader.readWord();
  reader.readWord();
  uint32_t eventCount = readCount(reader, 8);
  places.handlers = reader.position() + 4;
  places.handlerCount = eventCount;
  places.handlerStride = 8;
  for (uint32_t i = 0; i < eventCount; ++i) {
    EventBinding binding;
    binding.event = reader.readInt();
    binding.handler = reader.readInt();
    unit.events.push_back(binding);
  }
  for (int i = 0; i < kTrailerReservedWords; ++i) reader.readWord();
  auto rest = reader.readBytes(reader.remaining());
  unit.propertyBlock.assign(rest.begin(), rest.end());
}

}  // namespace

bool UnitRecord::isMenuItem() const {
  return type == kMenuItemType;
}

std::optional<UnitRecord> readUnitRecord(std::span<const uint8_t> record,
                                         UnitRecordPlaces* places) {
  ArchiveReader reader(record);
  UnitRecord unit;
  UnitRecordPlaces found;
  unit.type = reader.readWord();
  unit.link = reader.readWord();
  for (int i = 0; i < kHeaderReservedWords; ++i) reader.readWord();
  unit.name = reader.readZeroText();
  unit.remark = reader.readZeroText();
  if (unit.isMenuItem()) {
    readMenuItemPart(reader, unit, found);
  } else {
    readControlPart(reader, unit, found);
  }
  if (!reader.ok()) return std::nullopt;
  if (places != nullptr) *places = found;
  return unit;
}

Bytes writeUnitRecord(const UnitRecord& unit) {
  ArchiveWriter writer;
  writer.writeWord(unit.type);
  writer.writeWord(unit.link);
  for (int i = 0; i < kHeaderReservedWords; ++i) writer.writeWord(0);
  writer.writeZeroText(unit.name);
  writer.writeZeroText(unit.remark);
  if (unit.isMenuItem()) {
    writer.writeWord(0);
    writer.writeWord(0);
    writer.writeWord(unit.flags);
    writer.writeZeroText(unit.caption);
    writer.writeInt(unit.menuHandler);
    return writer.take();
  }
  writer.writeWord(0);  // live object
  writer.writeInt(unit.left);
  writer.writeInt(unit.top);
  writer.writeInt(unit.width);
  writer.writeInt(unit.height);
  writer.writeWord(0);  // cursor handle
  writer.writeWord(unit.container);
  writer.writeWord(static_cast<uint32_t>(unit.children.size()));
  for (uint32_t child : unit.children) writer.writeWord(child);
  writer.writeData(unit.pointerData);
  writer.writeZeroText(unit.tag);
  writer.writeWord(0);
  writer.writeWord(unit.flags);
  writer.writeWord(0);
  writer.writeWord(static_cast<uint32_t>(unit.events.size()));
  for (const auto& binding : unit.events) {
    writer.writeInt(binding.event);
    writer.writeInt(binding.handler);
  }
  for (int i = 0; i < kTrailerReservedWords; ++i) writer.writeWord(0);
  writer.writeBytes(unit.propertyBlock);
  return writer.take();
}

}  // namespace velmora::forms
