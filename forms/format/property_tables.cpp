// The property table of every unit type: each own property's index, kind, name and member, and
// the field order of the stored block by version.
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"

namespace velmora::forms {
namespace {

using Kind = PropertyKind;

namespace window_table {
using Block = WindowProperties;
using Property = WindowProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kCaption, Kind::kText, "caption", &Block::caption},
    {Property::kBorder, Kind::kChoice, "border", &Block::border},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kBackgroundPicture, Kind::kPicture, "backgroundPicture", &Block::backgroundPicture},
    {Property::kPictureMode, Kind::kChoice, "pictureMode", &Block::pictureMode},
    {Property::kBackgroundSound, Kind::kSound, "backgroundSound", &Block::backgroundSound},
    {Property::kSoundRepetition, Kind::kChoice, "soundRepetition", &Block::soundRepetition},
    {Property::kControlButton, Kind::kLogical, "controlButton", &Block::controlButton},
    {Property::kMaximizeButton, Kind::kLogical, "maximizeButton", &Block::maximizeButton},
    {Property::kMinimizeButton, Kind::kLogical, "minimizeButton", &Block::minimizeButton},
    {Property::kPosition, Kind::kChoice, "position", &Block::position},
    {Property::kMovable, Kind::kLogical, "movable", &Block::movable},
    {Property::kIcon, Kind::kIcon, "icon", &Block::icon},
    {Property::kReservedFlag21, Kind::kLogical, "reservedFlag21", &Block::reservedFlag21},
    {Property::kReservedFlag22, Kind::kLogical, "reservedFlag22", &Block::reservedFlag22},
    {Property::kReservedFlag23, Kind::kLogical, "reservedFlag23", &Block::reservedFlag23},
    {Property::kHelpFile, Kind::kFileName, "helpFile", &Block::helpFile},
    {Property::kHelpContext, Kind::kInteger, "helpContext", &Block::helpContext},
    {Property::kShowInTaskBar, Kind::kLogical, "showInTaskBar", &Block::showInTaskBar},
    {Property::kReservedFlag27, Kind::kLogical, "reservedFlag27", &Block::reservedFlag27},
    {Property::kShape, Kind::kChoice, "shape", &Block::shape},
    {Property::kAlwaysOnTop, Kind::kLogical, "alwaysOnTop", &Block::alwaysOnTop},
    {Property::kKeepCaptionActive, Kind::kLogical, "keepCaptionActive", &Block::keepCaptionActive},
    {Property::kClassName, Kind::kText, "className", &Block::className},
};
constexpr BlockStep<Block> kBlock[] = {
    {Property::kBorder, 1},
    {Property::kPictureMode, 1},
    {Property::kBackgroundColour, 1},
    {Property::kMaximizeButton, 1},
    {Property::kMinimizeButton, 1},
    {Property::kControlButton, 1},
    {Property::kPosition, 1},
    {Property::kMovable, 1},
    {Property::kSoundRepetition, 1},
    {Property::kReservedFlag21, 1},
    {Property::kReservedFlag22, 1},
    {Property::kReservedFlag23, 1},
    {Property::kHelpContext, 1},
    {Property::kShowInTaskBar, 2},
    {Property::kReservedFlag27, 3},
    {Property::kShape, 3},
    {Property::kAlwaysOnTop, 4},
    {Property::kKeepCaptionActive, 5},
    {Property::kClassName, 6},
    {Property::kBackgroundPicture, 1},
    {Property::kIcon, 1},
    {Property::kBackgroundSound, 1},
    {Property::kCaption, 1},
    {Property::kHelpFile, 1},
};
}  // namespace window_table

namespace label_table {
using Block = LabelProperties;
using Property = LabelProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kCaption, Kind::kText, "caption", &Block::caption},
    {Property::kEffect, Kind::kChoice, "effect", &Block::effect},
    {Property::kBorder, Kind::kChoice, "border", &Block::border},
    {Property::kFrameWidth, Kind::kInteger, "frameWidth", &Block::frameWidth},
    {Property::kFrameColour1, Kind::kColourOrTransparent, "frameColour1", &Block::frameColour1},
    {Property::kFrameColour2, Kind::kColourOrTransparent, "frameColour2", &Block::frameColour2},
    {Property::kFrameColour3, Kind::kColourOrTransparent, "frameColour3", &Block::frameColour3},
    {Property::kFont, Kind::kFont, "font", &Block::font},
    {Property::kTextColour, Kind::kColour, "textColour", &Block::textColour},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kBackgroundPicture, Kind::kPicture, "backgroundPicture", &Block::backgroundPicture},
    {Property::kPictureMode, Kind::kChoice, "pictureMode", &Block::pictureMode},
    {Property::kGradientMode, Kind::kChoice, "gradientMode", &Block::gradientMode},
    {Property::kGradientColour1, Kind::kColourOrTransparent, "gradientColour1",
     &Block::gradientColour1},
    {Property::kGradientColour2, Kind::kColourOrTransparent, "gradientColour2",
     &Block::gradientColour2},
    {Property::kGradientColour3, Kind::kColourOrTransparent, "gradientColour3",
     &Block::gradientColour3},
    {Property::kHorizontalAlignment, Kind::kChoice, "horizontalAlignment",
     &Block::horizontalAlignment},
    {Property::kWordWrap, Kind::kLogical, "wordWrap", &Block::wordWrap},
    {Property::kVerticalAlignment, Kind::kChoice, "verticalAlignment", &Block::verticalAlignment},
    {Property::kBindingSource, Kind::kBindingSource, "bindingSource", &Block::bindingSource},
    {Property::kBindingField, Kind::kBindingField, "bindingField", &Block::bindingField},
};
constexpr BlockStep<Block> kBlock[] = {
    {Property::kEffect, 1},
    {Property::kFrameWidth, 1},
    {Property::kBorder, 1},
    {Property::kFrameColour1, 1},
    {Property::kFrameColour2, 1},
    {Property::kFrameColour3, 1},
    {Property::kTextColour, 1},
    {Property::kBackgroundColour, 1},
    {Property::kPictureMode, 1},
    {Property::kGradientMode, 1},
    {Property::kGradientColour1, 1},
    {Property::kGradientColour2, 1},
    {Property::kGradientColour3, 1},
    {Property::kHorizontalAlignment, 1},
    {Property::kVerticalAlignment, 1},
    {Property::kWordWrap, 1},
    {Property::kFont, 1},
    {Property::kBackgroundPicture, 1},
    {Property::kCaption, 1},
    {Property::kBindingSource, 2},
    {Property::kBindingField, 2},
};
}  // namespace label_table

namespace edit_box_table {
using Block = EditBoxProperties;
using Property = EditBoxProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kContent, Kind::kText, "content", &Block::content},
    {Property::kBorder, Kind::kChoice, "border", &Block::border},
    {Property::kTextColour, Kind::kColour, "textColour", &Block::textColour},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kFont, Kind::kFont, "font", &Block::font},
    {Property::kHideSelection, Kind::kLogical, "hideSelection", &Block::hideSelection},
    {Property::kMaxLength, Kind::kInteger, "maxLength", &Block::maxLength},
    {Property::kMultiLine, Kind::kLogical, "multiLine", &Block::multiLine},
    {Property::kScrollBars, Kind::kChoice, "scrollBars", &Block::scrollBars},
    {Property::kAlignment, Kind::kChoice, "alignment", &Block::alignment},
    {Property::kInputMode, Kind::kChoice, "inputMode", &Block::inputMode},
    {Property::kPasswordCharacter, Kind::kText, "passwordCharacter", &Block::passwordCharacter},
    {Property::kLetterCase, Kind::kChoice, "letterCase", &Block::letterCase},
    {Property::kAdjuster, Kind::kChoice, "adjuster", &Block::adjuster},
    {Property::kAdjusterLowest, Kind::kInteger, "adjusterLowest", &Block::adjusterLowest},
    {Property::kAdjusterHighest, Kind::kInteger, "adjusterHighest", &Block::adjusterHighest},
    {Property::kSelectionStart, Kind::kInteger, "selectionStart", &Block::selectionStart},
    {Property::kSelectionLength, Kind::kInteger, "selectionLength", &Block::selectionLength},
    {Property::kSelectedText, Kind::kText, "selectedText", {}},
    {Property::kBindingSource, Kind::kBindingSource, "bindingSource", &Block::bindingSource},
    {Property::kBindingField, Kind::kBindingField, "bindingField", &Block::bindingField},
};
constexpr BlockStep<Block> kBlock[] = {
    {Property::kBorder, 1},
    {Property::kTextColour, 1},
    {Property::kBackgroundColour, 1},
    {Property::kHideSelection, 1},
    {Property::kMaxLength, 1},
    {Property::kMultiLine, 1},
    {Property::kScrollBars, 1},
    {Property::kAlignment, 1},
    {Property::kInputMode, 1},
    {Property::kPasswordCharacter, 1},
    {Property::kLetterCase, 1},
    {Property::kAdjuster, 1},
    {Property::kAdjusterLowest, 1},
    {Property::kAdjusterHighest, 1},
    {Property::kSelectionStart, 1},
    {Property::kSelectionLength, 1},
    {Property::kFont, 1},
    {Property::kContent, 1},
    {Property::kBindingSource, 2},
    {Property::kBindingField, 2},
};
}  // namespace edit_box_table

namespace pic_box_table {
using Block = PicBoxProperties;
using Property = PicBoxProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kBorder, Kind::kChoice, "border", &Block::border},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kPicture, Kind::kPicture, "picture", &Block::picture},
    {Property::kDisplayMode, Kind::kChoice, "displayMode", &Block::displayMode},
    {Property::kRuntimeFlag, Kind::kLogical, "runtimeFlag", &Block::runtimeFlag},
    {Property::kBindingSource, Kind::kBindingSource, "bindingSource", &Block::bindingSource},
    {Property::kBindingField, Kind::kBindingField, "bindingField", &Block::bindingField},
};
constexpr BlockStep<Block> kBlock[] = {
    {Property::kBorder, 1},      {Property::kBackgroundColour, 1}, {Property::kDisplayMode, 1},
    {Property::kRuntimeFlag, 1}, {Property::kPicture, 1},          {Property::kBindingSource, 2},
    {Property::kBindingField, 2}};
}  // namespace pic_box_table

namespace shape_box_table {
using Block = ShapeBoxProperties;
using Property = ShapeBoxProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kShape, Kind::kChoice, "shape", &Block::shape},
    {Property::kLineRelief, Kind::kChoice, "lineRelief", &Block::lineRelief},
    {Property::kLineStyle, Kind::kChoice, "lineStyle", &Block::lineStyle},
    {Property::kLineWidth, Kind::kInteger, "lineWidth", &Block::lineWidth},
    {Property::kLineColour, Kind::kColour, "lineColour", &Block::lineColour},
    {Property::kFillColour, Kind::kColourOrTransparent, "fillColour", &Block::fillColour},
};
constexpr BlockStep<Block> kBlock[] = {{Property::kBackgroundColour, 1}, {Property::kShape, 1},
                                       {Property::kLineRelief, 1},       {Property::kLineStyle, 1},
                                       {Property::kLineWidth, 1},        {Property::kLineColour, 1},
                                       {Property::kFillColour, 1}};
}  // namespace shape_box_table

namespace group_box_table {
using Block = GroupBoxProperties;
using Property = GroupBoxProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kCaption, Kind::kText, "caption", &Block::caption},
    {Property::kCaptionAlignment, Kind::kChoice, "captionAlignment", &Block::captionAlignment},
    {Property::kTextColour, Kind::kColour, "textColour", &Block::textColour},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kFont, Kind::kFont, "font", &Block::font},
};
constexpr BlockStep<Block> kBlock[] = {{Property::kCaptionAlignment, 1},
                                       {Property::kTextColour, 1},
                                       {Property::kBackgroundColour, 1},
                                       {Property::kFont, 1},
                                       {Property::kCaption, 1}};
}  // namespace group_box_table

namespace check_box_table {
using Block = CheckBoxProperties;
using Property = CheckBoxProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kPicture, Kind::kPicture, "picture", &Block::picture},
    {Property::kPushLike, Kind::kLogical, "pushLike", &Block::pushLike},
    {Property::kFlat, Kind::kLogical, "flat", &Block::flat},
    {Property::kCaption, Kind::kText, "caption", &Block::caption},
    {Property::kTextOnLeft, Kind::kLogical, "textOnLeft", &Block::textOnLeft},
    {Property::kHorizontalAlignment, Kind::kChoice, "horizontalAlignment",
     &Block::horizontalAlignment},
    {Property::kVerticalAlignment, Kind::kChoice, "verticalAlignment", &Block::verticalAlignment},
    {Property::kTextColour, Kind::kColour, "textColour", &Block::textColour},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kFont, Kind::kFont, "font", &Block::font},
    {Property::kChecked, Kind::kLogical, "checked", &Block::checked},
    {Property::kBindingSource, Kind::kBindingSource, "bindingSource", &Block::bindingSource},
    {Property::kBindingField, Kind::kBindingField, "bindingField", &Block::bindingField},
};
constexpr BlockStep<Block> kBlock[] = {
    {Property::kPushLike, 1},          {Property::kFlat, 1},
    {Property::kTextOnLeft, 1},        {Property::kHorizontalAlignment, 1},
    {Property::kVerticalAlignment, 1}, {Property::kTextColour, 1},
    {Property::kBackgroundColour, 1},  {Property::kChecked, 1},
    {Property::kPicture, 1},           {Property::kFont, 1},
    {Property::kCaption, 1},           {Property::kBindingSource, 2},
    {Property::kBindingField, 2}};
}  // namespace check_box_table

namespace combo_box_table {
using Block = ComboBoxProperties;
using Property = ComboBoxProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kKind, Kind::kChoice, "kind", &Block::kind},
    {Property::kText, Kind::kText, "text", &Block::text},
    {Property::kMaxLength, Kind::kInteger, "maxLength", &Block::maxLength},
    {Property::kSelectionStart, Kind::kInteger, "selectionStart", &Block::selectionStart},
    {Property::kSelectionLength, Kind::kInteger, "selectionLength", &Block::selectionLength},
    {Property::kSelectedText, Kind::kText, "selectedText", {}},
    {Property::kSorted, Kind::kLogical, "sorted", &Block::sorted},
    {Property::kExtraItemHeight, Kind::kInteger, "extraItemHeight", &Block::extraItemHeight},
    {Property::kTextColour, Kind::kColour, "textColour", &Block::textColour},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kFont, Kind::kFont, "font", &Block::font},
    {Property::kCurrentItem, Kind::kInteger, "currentItem", &Block::currentItem},
    {Property::kItems, Kind::kByteData, "items", &Block::items},
    {Property::kItemData, Kind::kByteData, "itemData", &Block::itemData},
    {Property::kBindingSource, Kind::kBindingSource, "bindingSource", &Block::bindingSource},
    {Property::kBindingField, Kind::kBindingField, "bindingField", &Block::bindingField},
    {Property::kReservedFlag24, Kind::kLogical, "reservedFlag24", &Block::reservedFlag24},
};
constexpr BlockStep<Block> kBlock[] = {
    {Property::kKind, 1},           {Property::kMaxLength, 1},
    {Property::kSelectionStart, 1}, {Property::kSelectionLength, 1},
    {Property::kSorted, 1},         {Property::kExtraItemHeight, 1},
    {Property::kTextColour, 1},     {Property::kBackgroundColour, 1},
    {Property::kCurrentItem, 1},    {Property::kFont, 1},
    {Property::kItemData, 1},       {Property::kText, 1},
    {Property::kItems, 1},          {Property::kBindingSource, 2},
    {Property::kBindingField, 2},   {Property::kReservedFlag24, 3}};
}  // namespace combo_box_table

namespace trans_label_table {
using Block = TransLabelProperties;
using Property = TransLabelProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kCaption, Kind::kText, "caption", &Block::caption},
    {Property::kEffect, Kind::kChoice, "effect", &Block::effect},
    {Property::kFont, Kind::kFont, "font", &Block::font},
    {Property::kTextColour, Kind::kColour, "textColour", &Block::textColour},
    {Property::kHorizontalAlignment, Kind::kChoice, "horizontalAlignment",
     &Block::horizontalAlignment},
    {Property::kWordWrap, Kind::kLogical, "wordWrap", &Block::wordWrap},
    {Property::kVerticalAlignment, Kind::kChoice, "verticalAlignment", &Block::verticalAlignment},
};
constexpr BlockStep<Block> kBlock[] = {{Property::kEffect, 1},
                                       {Property::kTextColour, 1},
                                       {Property::kHorizontalAlignment, 1},
                                       {Property::kVerticalAlignment, 1},
                                       {Property::kWordWrap, 1},
                                       {Property::kFont, 1},
                                       {Property::kCaption, 1}};
}  // namespace trans_label_table

namespace super_btn_table {
using Block = SuperBtnProperties;
using Property = SuperBtnProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kStyle, Kind::kChoice, "style", &Block::style},
    {Property::kCheckBoxMode, Kind::kLogical, "checkBoxMode", &Block::checkBoxMode},
    {Property::kChecked, Kind::kLogical, "checked", &Block::checked},
    {Property::kPicturePosition, Kind::kChoice, "picturePosition", &Block::picturePosition},
    {Property::kPressedOffset, Kind::kChoice, "pressedOffset", &Block::pressedOffset},
    {Property::kDrawBorder, Kind::kLogical, "drawBorder", &Block::drawBorder},
    {Property::kDrawFocusWhenFlat, Kind::kLogical, "drawFocusWhenFlat", &Block::drawFocusWhenFlat},
    {Property::kNormalPicture, Kind::kPicture, "normalPicture", &Block::normalPicture},
    {Property::kNormalTransparentColour, Kind::kBackgroundColour, "normalTransparentColour",
     &Block::normalTransparentColour},
    {Property::kHoverPicture, Kind::kPicture, "hoverPicture", &Block::hoverPicture},
    {Property::kHoverTransparentColour, Kind::kBackgroundColour, "hoverTransparentColour",
     &Block::hoverTransparentColour},
    {Property::kDisabledPicture, Kind::kPicture, "disabledPicture", &Block::disabledPicture},
    {Property::kDisabledTransparentColour, Kind::kBackgroundColour, "disabledTransparentColour",
     &Block::disabledTransparentColour},
    {Property::kFont, Kind::kFont, "font", &Block::font},
    {Property::kCaption, Kind::kText, "caption", &Block::caption},
    {Property::kUseSystemColours, Kind::kLogical, "useSystemColours", &Block::useSystemColours},
    {Property::kTextColour, Kind::kColour, "textColour", &Block::textColour},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kHoverTextColour, Kind::kColour, "hoverTextColour", &Block::hoverTextColour},
    {Property::kHoverBackgroundColour, Kind::kBackgroundColour, "hoverBackgroundColour",
     &Block::hoverBackgroundColour},
    {Property::kFocusTextColour, Kind::kColour, "focusTextColour", &Block::focusTextColour},
    {Property::kFocusBackgroundColour, Kind::kBackgroundColour, "focusBackgroundColour",
     &Block::focusBackgroundColour},
    {Property::kBuiltInSound, Kind::kLogical, "builtInSound", &Block::builtInSound},
    {Property::kHoverSound, Kind::kSound, "hoverSound", &Block::hoverSound},
    {Property::kClickSound, Kind::kSound, "clickSound", &Block::clickSound},
    {Property::kToolTip, Kind::kText, "toolTip", &Block::toolTip},
    {Property::kDefaultButton, Kind::kChoice, "defaultButton", &Block::defaultButton},
};
constexpr BlockStep<Block> kBlock[] = {
    {Property::kStyle, 1},
    {Property::kCheckBoxMode, 1},
    {Property::kChecked, 1},
    {Property::kPicturePosition, 1},
    {Property::kPressedOffset, 1},
    {Property::kDrawBorder, 1},
    {Property::kDrawFocusWhenFlat, 1},
    {Property::kHoverTransparentColour, 1},
    {Property::kNormalTransparentColour, 1},
    {Property::kUseSystemColours, 1},
    {Property::kBuiltInSound, 1},
    {Property::kDefaultButton, 1},
    {Property::kTextColour, 1},
    {Property::kBackgroundColour, 1},
    {Property::kHoverTextColour, 1},
    {Property::kHoverBackgroundColour, 1},
    {Property::kFocusTextColour, 1},
    {Property::kFocusBackgroundColour, 1},
    {Property::kHoverPicture, 1},
    {Property::kNormalPicture, 1},
    {Property::kFont, 1},
    {Property::kHoverSound, 1},
    {Property::kClickSound, 1},
    {Property::kCaption, 1},
    {Property::kToolTip, 1},
    {Property::kDisabledTransparentColour, 2},
    {Property::kDisabledPicture, 2},
};
}  // namespace super_btn_table

namespace cartoon_box_table {
using Block = CartoonBoxProperties;
using Property = CartoonBoxProperty;
constexpr PropertyField<Block> kFields[] = {
    {Property::kBorder, Kind::kChoice, "border", &Block::border},
    {Property::kBackgroundColour, Kind::kBackgroundColour, "backgroundColour",
     &Block::backgroundColour},
    {Property::kBackgroundPicture, Kind::kPicture, "backgroundPicture", &Block::backgroundPicture},
    {Property::kPictureMode, Kind::kChoice, "pictureMode", &Block::pictureMode},
    {Property::kObjectShape, Kind::kChoice, "objectShape", &Block::objectShape},
    {Property::kObjectMotion, Kind::kChoice, "objectMotion", &Block::objectMotion},
    {Property::kObjectSpeed, Kind::kInteger, "objectSpeed", &Block::objectSpeed},
    {Property::kObjectStep, Kind::kChoice, "objectStep", &Block::objectStep},
    {Property::kObjectsVisible, Kind::kLogical, "objectsVisible", &Block::objectsVisible},
    {Property::kObjectColour, Kind::kColour, "objectColour", &Block::objectColour},
    {Property::kObjectTextColour, Kind::kColour, "objectTextColour", &Block::objectTextColour},
    {Property::kObjectBackgroundColour, Kind::kBackgroundColour, "objectBackgroundColour",
     &Block::objectBackgroundColour},
    {Property::kObjectFont, Kind::kFont, "objectFont", &Block::objectFont},
};
constexpr BlockStep<Block> kBlock[] = {{Property::kBorder, 1},
                                       {Property::kBackgroundColour, 1},
                                       {Property::kPictureMode, 1},
                                       {Property::kObjectShape, 2},
                                       {Property::kObjectMotion, 2},
                                       {Property::kObjectSpeed, 2},
                                       {Property::kObjectStep, 2},
                                       {Property::kObjectsVisible, 2},
                                       {Property::kObjectColour, 2},
                                       {Property::kObjectTextColour, 2},
                                       {Property::kObjectBackgroundColour, 2},
                                       {Property::kObjectFont, 2},
                                       {Property::kBackgroundPicture, 1}};
}  // namespace cartoon_box_table

}  // namespace

const PropertyTable<WindowProperties> WindowProperties::table = {
    kWindowType, "window", 6, window_table::kFields, window_table::kBlock};
const PropertyTable<LabelProperties> LabelProperties::table = {
    kLabelType, "Label", 2, label_table::kFields, label_table::kBlock};
const PropertyTable<EditBoxProperties> EditBoxProperties::table = {
    kEditBoxType, "EditBox", 2, edit_box_table::kFields, edit_box_table::kBlock};
const PropertyTable<PicBoxProperties> PicBoxProperties::table = {
    kPicBoxType, "PicBox", 2, pic_box_table::kFields, pic_box_table::kBlock};
const PropertyTable<ShapeBoxProperties> ShapeBoxProperties::table = {
    kShapeBoxType, "ShapeBox", 1, shape_box_table::kFields, shape_box_table::kBlock};
const PropertyTable<GroupBoxProperties> GroupBoxProperties::table = {
    kGroupBoxType, "GroupBox", 1, group_box_table::kFields, group_box_table::kBlock};
const PropertyTable<CheckBoxProperties> CheckBoxProperties::table = {
    kCheckBoxType, "CheckBox", 2, check_box_table::kFields, check_box_table::kBlock};
const PropertyTable<ComboBoxProperties> ComboBoxProperties::table = {
    kComboBoxType, "ComboBox", 3, combo_box_table::kFields, combo_box_table::kBlock};
const PropertyTable<TransLabelProperties> TransLabelProperties::table = {
    kTransLabelType, "TransLabel", 1, trans_label_table::kFields, trans_label_table::kBlock};
const PropertyTable<SuperBtnProperties> SuperBtnProperties::table = {
    kSuperBtnType, "SuperBtn", 2, super_btn_table::kFields, super_btn_table::kBlock};
const PropertyTable<CartoonBoxProperties> CartoonBoxProperties::table = {
    kCartoonBoxType, "CartoonBox", 2, cartoon_box_table::kFields, cartoon_box_table::kBlock};

}  // namespace velmora::forms
