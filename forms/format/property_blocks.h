// The own properties of every unit type: one struct per type holding them with their defaults,
// and one table per type giving each property's index (forms/format/property_indices.h), kind,
// name and place in the struct, and the field order of the type's stored property block at each
// version.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "forms/format/archive.h"
#include "forms/format/property_indices.h"
#include "forms/format/property_kind.h"

namespace velmora::forms {

// Where a property lives in its struct; monostate for a property that is never stored (a value
// only a live unit computes).
template <class Block>
using PropertyMember = std::variant<std::monostate, int32_t Block::*, uint16_t Block::*,
                                    std::string Block::*, Bytes Block::*, TextList Block::*>;

template <class Block>
struct PropertyField {
  typename Block::Property index;
  PropertyKind kind;
  const char* name;
  PropertyMember<Block> member;
};

// One field of a stored block: the property it holds, and the first version that has it. How
// it is stored follows from its member: int32 a word, uint16 a 16-bit value, string a counted
// text, Bytes a data block, TextList a list.
template <class Block>
struct BlockStep {
  typename Block::Property index;
  uint8_t sinceVersion;
};

template <class Block>
struct PropertyTable {
  uint32_t typeCode;
  const char* typeName;  // the English name
  uint32_t highestVersion;
  std::span<const PropertyField<Block>> fields;  // every own property, in index order
  std::span<const BlockStep<Block>> block;
};

struct WindowProperties {
  using Property = WindowProperty;
  std::string caption;
  int32_t border = 2;
  int32_t backgroundColour = kDefaultColour;
  Bytes backgroundPicture;
  int32_t pictureMode = 1;
  Bytes backgroundSound;
  int32_t soundRepetition = 0;
  int32_t controlButton = 1;
  int32_t maximizeButton = 0;
  int32_t minimizeButton = 1;
  int32_t position = 1;
  int32_t movable = 1;
  Bytes icon;
  // Reserved flags: stored and read back as they are; nothing in the runtime acts on them.
  int32_t reservedFlag21 = 0;
  int32_t reservedFlag22 = 1;
  int32_t reservedFlag23 = 0;
  std::string helpFile;
  int32_t helpContext = 0;
  int32_t showInTaskBar = 1;
  int32_t reservedFlag27 = 0;
  int32_t shape = 0;
  int32_t alwaysOnTop = 0;
  int32_t keepCaptionActive = 0;
  std::string className;
  static const PropertyTable<WindowProperties> table;
  bool operator==(const WindowProperties&) const = default;
};

struct LabelProperties {
  using Property = LabelProperty;
  std::string caption = "\xb1\xea\xc7\xa9";  // 标签
  int32_t effect = 0;
  int32_t border = 0;
  int32_t frameWidth = 8;
  int32_t frameColour1 = 0x808080;
  int32_t frameColour2 = 0xFFFFFF;
  int32_t frameColour3 = 0x808080;
  Bytes font;
  int32_t textColour = 0;
  int32_t backgroundColour = kDefaultColour;
  Bytes backgroundPicture;
  int32_t pictureMode = 1;
  int32_t gradientMode = 0;
  int32_t gradientColour1 = 0x808080;
  int32_t gradientColour2 = 0xFFFFFF;
  int32_t gradientColour3 = 0x808080;
  int32_t horizontalAlignment = 0;
  int32_t wordWrap = 0;
  int32_t verticalAlignment = 1;
  std::string bindingSource;
  std::string bindingField;
  static const PropertyTable<LabelProperties> table;
  bool operator==(const LabelProperties&) const = default;
};

struct EditBoxProperties {
  using Property = EditBoxProperty;
  std::string content;
  int32_t border = 1;
  int32_t textColour = 0;
  int32_t backgroundColour = kDefaultColour;
  Bytes font;
  int32_t hideSelection = 1;
  int32_t maxLength = 0;
  int32_t multiLine = 0;
  int32_t scrollBars = 0;
  int32_t alignment = 0;
  int32_t inputMode = 0;
  uint16_t passwordCharacter = '*';  // the character's bytes, first byte low
  int32_t letterCase = 0;
  int32_t adjuster = 0;
  int32_t adjusterLowest = 0;
  int32_t adjusterHighest = 100;
  int32_t selectionStart = 0;
  int32_t selectionLength = 0;
  std::string bindingSource;
  std::string bindingField;
  static const PropertyTable<EditBoxProperties> table;
  bool operator==(const EditBoxProperties&) const = default;
};

struct PicBoxProperties {
  using Property = PicBoxProperty;
  int32_t border = 0;
  int32_t backgroundColour = kDefaultColour;
  Bytes picture;
  int32_t displayMode = 0;
  int32_t runtimeFlag = 1;
  std::string bindingSource;
  std::string bindingField;
  static const PropertyTable<PicBoxProperties> table;
  bool operator==(const PicBoxProperties&) const = default;
};

struct ShapeBoxProperties {
  using Property = ShapeBoxProperty;
  int32_t backgroundColour = kDefaultColour;
  int32_t shape = 0;
  int32_t lineRelief = 0;
  int32_t lineStyle = 1;
  int32_t lineWidth = 1;
  int32_t lineColour = 0;
  int32_t fillColour = kDefaultColour;
  static const PropertyTable<ShapeBoxProperties> table;
  bool operator==(const ShapeBoxProperties&) const = default;
};

struct GroupBoxProperties {
  using Property = GroupBoxProperty;
  std::string caption = "\xb7\xd6\xd7\xe9\xbf\xf2";  // 分组框
  int32_t captionAlignment = 0;
  int32_t textColour = 0;
  int32_t backgroundColour = kDefaultColour;
  Bytes font;
  static const PropertyTable<GroupBoxProperties> table;
  bool operator==(const GroupBoxProperties&) const = default;
};

struct CheckBoxProperties {
  using Property = CheckBoxProperty;
  Bytes picture;
  int32_t pushLike = 0;
  int32_t flat = 0;
  std::string caption = "\xd1\xa1\xd4\xf1\xbf\xf2";  // 选择框
  int32_t textOnLeft = 0;
  int32_t horizontalAlignment = 0;
  int32_t verticalAlignment = 1;
  int32_t textColour = 0;
  int32_t backgroundColour = kDefaultColour;
  Bytes font;
  int32_t checked = 0;
  std::string bindingSource;
  std::string bindingField;
  static const PropertyTable<CheckBoxProperties> table;
  bool operator==(const CheckBoxProperties&) const = default;
};

struct ComboBoxProperties {
  using Property = ComboBoxProperty;
  int32_t kind = 1;
  std::string text;
  int32_t maxLength = 0;
  int32_t selectionStart = 0;
  int32_t selectionLength = 0;
  int32_t sorted = 0;
  int32_t extraItemHeight = 0;
  int32_t textColour = 0;
  int32_t backgroundColour = kDefaultColour;
  Bytes font;
  int32_t currentItem = -1;
  TextList items;
  Bytes itemData;
  std::string bindingSource;
  std::string bindingField;
  int32_t reservedFlag24 = 0;
  static const PropertyTable<ComboBoxProperties> table;
  bool operator==(const ComboBoxProperties&) const = default;
};

struct TransLabelProperties {
  using Property = TransLabelProperty;
  std::string caption = "\xcd\xb8\xc3\xf7\xb1\xea\xc7\xa9";  // 透明标签
  int32_t effect = 0;
  Bytes font;
  int32_t textColour = 0;
  int32_t horizontalAlignment = 0;
  int32_t wordWrap = 0;
  int32_t verticalAlignment = 1;
  static const PropertyTable<TransLabelProperties> table;
  bool operator==(const TransLabelProperties&) const = default;
};

struct SuperBtnProperties {
  using Property = SuperBtnProperty;
  int32_t style = 0;
  int32_t checkBoxMode = 0;
  int32_t checked = 0;
  int32_t picturePosition = 0;
  int32_t pressedOffset = 0;
  int32_t drawBorder = 1;
  int32_t drawFocusWhenFlat = 0;
  Bytes normalPicture;
  int32_t normalTransparentColour = kDefaultColour;
  Bytes hoverPicture;
  int32_t hoverTransparentColour = kDefaultColour;
  Bytes disabledPicture;
  int32_t disabledTransparentColour = kDefaultColour;
  Bytes font;
  std::string caption = "\xb3\xac\xbc\xb6\xb0\xb4\xc5\xa5";  // 超级按钮
  int32_t useSystemColours = 1;
  // The six colours start as the default marker: the system colour of each role, which the
  // button resolves when it applies them.
  int32_t textColour = kDefaultColour;
  int32_t backgroundColour = kDefaultColour;
  int32_t hoverTextColour = kDefaultColour;
  int32_t hoverBackgroundColour = kDefaultColour;
  int32_t focusTextColour = kDefaultColour;
  int32_t focusBackgroundColour = kDefaultColour;
  int32_t builtInSound = 0;
  Bytes hoverSound;
  Bytes clickSound;
  std::string toolTip;
  int32_t defaultButton = 0;
  static const PropertyTable<SuperBtnProperties> table;
  bool operator==(const SuperBtnProperties&) const = default;
};

struct CartoonBoxProperties {
  using Property = CartoonBoxProperty;
  int32_t border = 0;
  int32_t backgroundColour = kDefaultColour;
  Bytes backgroundPicture;
  int32_t pictureMode = 0;
  int32_t objectShape = 1;
  int32_t objectMotion = 12;
  int32_t objectSpeed = 0;
  int32_t objectStep = 0;
  int32_t objectsVisible = 1;
  int32_t objectColour = 0xFFFFFF;
  int32_t objectTextColour = 0;
  int32_t objectBackgroundColour = kDefaultColour;
  Bytes objectFont;
  static const PropertyTable<CartoonBoxProperties> table;
  bool operator==(const CartoonBoxProperties&) const = default;
};

// Reads a stored block into `out`, which is first reset to the defaults. An empty block keeps
// the defaults; a newer version than the type reads is refused.
template <class Block>
ReadStatus readPropertyBlock(std::span<const uint8_t> block, Block& out);

// Writes the block at `version` (0: the highest), with the fields that version has.
template <class Block>
Bytes writePropertyBlock(const Block& properties, uint32_t version = 0);

}  // namespace velmora::forms
