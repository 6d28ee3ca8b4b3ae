// The one reader and writer of stored property blocks, driven by each type's table.
#include <algorithm>

#include "forms/format/property_blocks.h"

namespace velmora::forms {
namespace {

template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

template <class Block>
const PropertyMember<Block>& memberOf(typename Block::Property index) {
  const auto& fields = Block::table.fields;
  auto field = std::find_if(fields.begin(), fields.end(),
                            [index](const auto& f) { return f.index == index; });
  return field->member;  // every block step names a field of the same table
}

template <class Block>
void readField(ArchiveReader& reader, const PropertyMember<Block>& member, Block& out) {
  std::visit(Overloaded{
                 [](std::monostate) {},
                 [&](int32_t Block::*m) { out.*m = reader.readInt(); },
                 [&](uint16_t Block::*m) { out.*m = reader.readShort(); },
                 [&](std::string Block::*m) { out.*m = reader.readCountedText(); },
                 [&](Bytes Block::*m) { out.*m = reader.readData(); },
                 [&](TextList Block::*m) { out.*m = reader.readTextList(); },
             },
             member);
}

template <class Block>
void writeField(ArchiveWriter& writer, const PropertyMember<Block>& member, const Block& in) {
  std::visit(Overloaded{
                 [](std::monostate) {},
                 [&](int32_t Block::*m) { writer.writeInt(in.*m); },
                 [&](uint16_t Block::*m) { writer.writeShort(in.*m); },
                 [&](std::string Block::*m) { writer.writeCountedText(in.*m); },
                 [&](Bytes Block::*m) { writer.writeData(in.*m); },
                 [&](TextList Block::*m) { writer.writeTextList(in.*m); },
             },
             member);
}

}  // namespace

template <class Block>
ReadStatus readPropertyBlock(std::span<const uint8_t> block, Block& out) {
  out = Block{};
  if (block.empty()) return ReadStatus::kOk;
  ArchiveReader reader(block);
  uint32_t version = reader.readWord();
  if (version > Block::table.highestVersion) reader.fail(ReadStatus::kVersionTooHigh);
  for (const BlockStep<Block>& step : Block::table.block) {
    if (!reader.ok()) break;
    if (step.sinceVersion <= version) readField(reader, memberOf<Block>(step.index), out);
  }
  if (!reader.ok()) out = Block{};
  return reader.status();
}

template <class Block>
Bytes writePropertyBlock(const Block& properties, uint32_t version) {
  if (version == 0) version = Block::table.highestVersion;
  ArchiveWriter writer;
  writer.writeWord(version);
  for (const BlockStep<Block>& step : Block::table.block) {
    if (step.sinceVersion <= version) writeField(writer, memberOf<Block>(step.index), properties);
  }
  return writer.take();
}

#define VELMORA_PROPERTY_BLOCK_IO(Block)                                          \
  template ReadStatus readPropertyBlock<Block>(std::span<const uint8_t>, Block&); \
  template Bytes writePropertyBlock<Block>(const Block&, uint32_t);

VELMORA_PROPERTY_BLOCK_IO(WindowProperties)
VELMORA_PROPERTY_BLOCK_IO(LabelProperties)
VELMORA_PROPERTY_BLOCK_IO(EditBoxProperties)
VELMORA_PROPERTY_BLOCK_IO(PicBoxProperties)
VELMORA_PROPERTY_BLOCK_IO(ShapeBoxProperties)
VELMORA_PROPERTY_BLOCK_IO(GroupBoxProperties)
VELMORA_PROPERTY_BLOCK_IO(CheckBoxProperties)
VELMORA_PROPERTY_BLOCK_IO(ComboBoxProperties)
VELMORA_PROPERTY_BLOCK_IO(TransLabelProperties)
VELMORA_PROPERTY_BLOCK_IO(SuperBtnProperties)
VELMORA_PROPERTY_BLOCK_IO(CartoonBoxProperties)

}  // namespace velmora::forms
