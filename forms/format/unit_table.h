// A window's unit table held as one contiguous block, as stored: the unit ids, the offsets of
// the entries, and the entries (a length word and the unit record each). Records change length
// in place at run time (a new tag or menu caption); the block stays contiguous.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "forms/format/archive.h"
#include "forms/format/unit_record.h"

namespace velmora::forms {

class UnitTable {
 public:
  UnitTable() = default;
  // Lays out a table from ids and records in stored order (unit 0 being the window's own unit).
  static UnitTable build(const std::vector<uint32_t>& ids, const std::vector<Bytes>& records);
  // Reads the count, length and body, and checks every entry: its place, its length and its
  // record, so that later lookups never meet a malformed entry.
  static std::optional<UnitTable> read(ArchiveReader& reader);
  void write(ArchiveWriter& writer) const;

  // Access by index; an index past the end gives id 0, an empty record and a unit of type 0,
  // and changes nothing.
  uint32_t count() const { return count_; }
  uint32_t idAt(uint32_t index) const;
  // The first unit with this id; nothing for an id that is not well formed.
  std::optional<uint32_t> indexOf(uint32_t id) const;
  std::span<uint8_t> recordAt(uint32_t index);
  std::span<const uint8_t> recordAt(uint32_t index) const;
  UnitRecord unitAt(uint32_t index) const;
  UnitRecordPlaces placesAt(uint32_t index) const;

  // Turns every handler offset into an address: code base + offset, and -1 into 0. A code base
  // of 0 is a program without handler code: every handler becomes 0, never an address near 0.
  // Done once, when the window data is loaded.
  void relocateHandlers(uint32_t codeBase);
  // Replaces a record, moving the entries behind it; false (and no change) for a record that
  // does not read back as one.
  bool replaceRecord(uint32_t index, std::span<const uint8_t> record);
  // Replaces the tag (menu item: the caption) of a record; texts end at an inner zero byte.
  void replaceText(uint32_t index, std::string_view text);

  const Bytes& body() const { return body_; }

 private:
  uint32_t offsetAt(uint32_t index) const;
  size_t entriesStart() const { return size_t{count_} * 8; }

  uint32_t count_ = 0;
  Bytes body_;
};

}  // namespace velmora::forms
