// Reading and writing a unit's stored properties through its type's property table, in the
// value pairs of the unit type functions.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <variant>

#include "controls/win32/live_unit.h"
#include "forms/format/property_blocks.h"
#include "forms/unit_type_interface.h"

namespace velmora::controls {

template <class... Fs>
struct Visitors : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Visitors(Fs...) -> Visitors<Fs...>;

template <class Block>
const forms::PropertyField<Block>* propertyField(typename Block::Property index) {
  const auto& fields = Block::table.fields;
  auto field = std::find_if(fields.begin(), fields.end(),
                            [index](const auto& f) { return f.index == index; });
  return field == fields.end() ? nullptr : &*field;
}

inline const char* textPointer(uintptr_t value) {
  const char* text = reinterpret_cast<const char*>(value);
  return text != nullptr ? text : "";
}

// A one-character text stored in 16 bits, first byte low (a GBK character takes both).
inline uint16_t characterFromText(const char* text) {
  const auto first = static_cast<uint8_t>(text[0]);
  if (first < 0x80 || text[1] == 0) return first;
  return static_cast<uint16_t>(first | static_cast<uint8_t>(text[1]) << 8);
}

inline std::string textFromCharacter(uint16_t character) {
  std::string text;
  if (character & 0xFF) text += static_cast<char>(character & 0xFF);
  if (character >> 8) text += static_cast<char>(character >> 8);
  return text;
}

// Property `index` of `block` into `out`; false when the type has no such stored property.
template <class Block>
bool readStoredProperty(Block& block, typename Block::Property index, forms::PropertyValue& out,
                        ReadScratch& scratch) {
  const forms::PropertyField<Block>* field = propertyField<Block>(index);
  if (field == nullptr) return false;
  out = {};
  return std::visit(Visitors{
                        [](std::monostate) { return false; },
                        [&](int32_t Block::*m) {
                          out.first = static_cast<uint32_t>(block.*m);
                          return true;
                        },
                        [&](uint16_t Block::*m) {
                          scratch.text = textFromCharacter(block.*m);
                          out.first = reinterpret_cast<uintptr_t>(scratch.text.c_str());
                          return true;
                        },
                        [&](std::string Block::*m) {
                          out.first = reinterpret_cast<uintptr_t>((block.*m).c_str());
                          return true;
                        },
                        [&](forms::Bytes Block::*m) {
                          out.first = reinterpret_cast<uintptr_t>((block.*m).data());
                          out.second = (block.*m).size();
                          return true;
                        },
                        [&](forms::TextList Block::*m) {
                          forms::ArchiveWriter writer;
                          writer.writeTextList(block.*m);
                          scratch.bytes = writer.take();
                          out.first = reinterpret_cast<uintptr_t>(scratch.bytes.data());
                          out.second = scratch.bytes.size();
                          return true;
                        },
                    },
                    field->member);
}

// Stores a written value into property `index`; false when the type has no such stored property.
template <class Block>
bool writeStoredProperty(Block& block, typename Block::Property index,
                         const forms::PropertyValue& value) {
  const forms::PropertyField<Block>* field = propertyField<Block>(index);
  if (field == nullptr) return false;
  auto bytesOf = [&value] {
    const auto* data = reinterpret_cast<const uint8_t*>(value.first);
    return data != nullptr ? forms::Bytes(data, data + value.second) : forms::Bytes{};
  };
  return std::visit(Visitors{
                        [](std::monostate) { return false; },
                        [&](int32_t Block::*m) {
                          block.*m = static_cast<int32_t>(value.first);
                          return true;
                        },
                        [&](uint16_t Block::*m) {
                          block.*m = characterFromText(textPointer(value.first));
                          return true;
                        },
                        [&](std::string Block::*m) {
                          block.*m = textPointer(value.first);
                          return true;
                        },
                        [&](forms::Bytes Block::*m) {
                          block.*m = bytesOf();
                          return true;
                        },
                        [&](forms::TextList Block::*m) {
                          const forms::Bytes bytes = bytesOf();
                          forms::ArchiveReader reader(bytes);
                          forms::TextList texts = reader.readTextList();
                          block.*m = reader.ok() ? std::move(texts) : forms::TextList{};
                          return true;
                        },
                    },
                    field->member);
}

}  // namespace velmora::controls
