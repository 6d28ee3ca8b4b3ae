// The index of every unit property: the eight every unit has, and each unit type's own from
// kFirstOwnProperty on, in the order of the type's property table. The runtime's property entries
// and the program's handlers name a property by this index.
#pragma once

#include <cstdint>
#include <type_traits>

namespace velmora::forms {

enum class CommonProperty : int32_t {
  kLeft = 0,
  kTop = 1,
  kWidth = 2,
  kHeight = 3,
  kTag = 4,
  kVisible = 5,
  kDisabled = 6,
  kPointer = 7,
};

inline constexpr int32_t kFirstOwnProperty = 8;

template <class Property>
requires std::is_enum_v<Property>
constexpr int32_t propertyIndex(Property property) {
  return static_cast<int32_t>(property);
}

// The unit type functions number a type's own properties from 0: the own index of a property is
// its index less kFirstOwnProperty.
template <class Property>
requires std::is_enum_v<Property>
constexpr int32_t ownIndexOf(Property property) {
  return propertyIndex(property) - kFirstOwnProperty;
}
constexpr int32_t ownIndexOf(int32_t property) {
  return property - kFirstOwnProperty;
}

// The property an own index names: its index, or its name in a type's enumeration.
template <class Property = int32_t>
constexpr Property propertyOfOwnIndex(int32_t ownIndex) {
  return static_cast<Property>(ownIndex + kFirstOwnProperty);
}

enum class WindowProperty : int32_t {
  kCaption = 8,
  kBorder = 9,
  kBackgroundColour = 10,
  kBackgroundPicture = 11,
  kPictureMode = 12,
  kBackgroundSound = 13,
  kSoundRepetition = 14,
  kControlButton = 15,
  kMaximizeButton = 16,
  kMinimizeButton = 17,
  kPosition = 18,
  kMovable = 19,
  kIcon = 20,
  kReservedFlag21 = 21,
  kReservedFlag22 = 22,
  kReservedFlag23 = 23,
  kHelpFile = 24,
  kHelpContext = 25,
  kShowInTaskBar = 26,
  kReservedFlag27 = 27,
  kShape = 28,
  kAlwaysOnTop = 29,
  kKeepCaptionActive = 30,
  kClassName = 31,
};

enum class LabelProperty : int32_t {
  kCaption = 8,
  kEffect = 9,
  kBorder = 10,
  kFrameWidth = 11,
  kFrameColour1 = 12,
  kFrameColour2 = 13,
  kFrameColour3 = 14,
  kFont = 15,
  kTextColour = 16,
  kBackgroundColour = 17,
  kBackgroundPicture = 18,
  kPictureMode = 19,
  kGradientMode = 20,
  kGradientColour1 = 21,
  kGradientColour2 = 22,
  kGradientColour3 = 23,
  kHorizontalAlignment = 24,
  kWordWrap = 25,
  kVerticalAlignment = 26,
  kBindingSource = 27,
  kBindingField = 28,
};

enum class EditBoxProperty : int32_t {
  kContent = 8,
  kBorder = 9,
  kTextColour = 10,
  kBackgroundColour = 11,
  kFont = 12,
  kHideSelection = 13,
  kMaxLength = 14,
  kMultiLine = 15,
  kScrollBars = 16,
  kAlignment = 17,
  kInputMode = 18,
  kPasswordCharacter = 19,
  kLetterCase = 20,
  kAdjuster = 21,
  kAdjusterLowest = 22,
  kAdjusterHighest = 23,
  kSelectionStart = 24,
  kSelectionLength = 25,
  kSelectedText = 26,
  kBindingSource = 27,
  kBindingField = 28,
};

enum class PicBoxProperty : int32_t {
  kBorder = 8,
  kBackgroundColour = 9,
  kPicture = 10,
  kDisplayMode = 11,
  kRuntimeFlag = 12,
  kBindingSource = 13,
  kBindingField = 14,
};

enum class ShapeBoxProperty : int32_t {
  kBackgroundColour = 8,
  kShape = 9,
  kLineRelief = 10,
  kLineStyle = 11,
  kLineWidth = 12,
  kLineColour = 13,
  kFillColour = 14,
};

enum class GroupBoxProperty : int32_t {
  kCaption = 8,
  kCaptionAlignment = 9,
  kTextColour = 10,
  kBackgroundColour = 11,
  kFont = 12,
};

enum class CheckBoxProperty : int32_t {
  kPicture = 8,
  kPushLike = 9,
  kFlat = 10,
  kCaption = 11,
  kTextOnLeft = 12,
  kHorizontalAlignment = 13,
  kVerticalAlignment = 14,
  kTextColour = 15,
  kBackgroundColour = 16,
  kFont = 17,
  kChecked = 18,
  kBindingSource = 19,
  kBindingField = 20,
};

enum class ComboBoxProperty : int32_t {
  kKind = 8,
  kText = 9,
  kMaxLength = 10,
  kSelectionStart = 11,
  kSelectionLength = 12,
  kSelectedText = 13,
  kSorted = 14,
  kExtraItemHeight = 15,
  kTextColour = 16,
  kBackgroundColour = 17,
  kFont = 18,
  kCurrentItem = 19,
  kItems = 20,
  kItemData = 21,
  kBindingSource = 22,
  kBindingField = 23,
  kReservedFlag24 = 24,
};

enum class TransLabelProperty : int32_t {
  kCaption = 8,
  kEffect = 9,
  kFont = 10,
  kTextColour = 11,
  kHorizontalAlignment = 12,
  kWordWrap = 13,
  kVerticalAlignment = 14,
};

enum class SuperBtnProperty : int32_t {
  kStyle = 8,
  kCheckBoxMode = 9,
  kChecked = 10,
  kPicturePosition = 11,
  kPressedOffset = 12,
  kDrawBorder = 13,
  kDrawFocusWhenFlat = 14,
  kNormalPicture = 15,
  kNormalTransparentColour = 16,
  kHoverPicture = 17,
  kHoverTransparentColour = 18,
  kDisabledPicture = 19,
  kDisabledTransparentColour = 20,
  kFont = 21,
  kCaption = 22,
  kUseSystemColours = 23,
  kTextColour = 24,
  kBackgroundColour = 25,
  kHoverTextColour = 26,
  kHoverBackgroundColour = 27,
  kFocusTextColour = 28,
  kFocusBackgroundColour = 29,
  kBuiltInSound = 30,
  kHoverSound = 31,
  kClickSound = 32,
  kToolTip = 33,
  kDefaultButton = 34,
};

enum class CartoonBoxProperty : int32_t {
  kBorder = 8,
  kBackgroundColour = 9,
  kBackgroundPicture = 10,
  kPictureMode = 11,
  kObjectShape = 12,
  kObjectMotion = 13,
  kObjectSpeed = 14,
  kObjectStep = 15,
  kObjectsVisible = 16,
  kObjectColour = 17,
  kObjectTextColour = 18,
  kObjectBackgroundColour = 19,
  kObjectFont = 20,
};
}  // namespace velmora::forms
