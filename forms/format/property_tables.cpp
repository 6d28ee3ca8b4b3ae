// The property table of every unit type: each own property's index, kind, name and member, and
// the field order of the stored block by version.
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"

namespace velmora {
namespace {

using K = PropertyKind;

using Wn = WindowProperties;
namespace window_table {
using P = WindowProperty;
constexpr PropertyField<Wn> kFields[] = {
    {P::kCaption, K::text, "caption", &Wn::caption},
    {P::kBorder, K::choice, "border", &Wn::border},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Wn::backgroundColour},
    {P::kBackgroundPicture, K::picture, "backgroundPicture", &Wn::backgroundPicture},
    {P::kPictureMode, K::choice, "pictureMode", &Wn::pictureMode},
    {P::kBackgroundSound, K::sound, "backgroundSound", &Wn::backgroundSound},
    {P::kSoundRepetition, K::choice, "soundRepetition", &Wn::soundRepetition},
    {P::kControlButton, K::logical, "controlButton", &Wn::controlButton},
    {P::kMaximizeButton, K::logical, "maximizeButton", &Wn::maximizeButton},
    {P::kMinimizeButton, K::logical, "minimizeButton", &Wn::minimizeButton},
    {P::kPosition, K::choice, "position", &Wn::position},
    {P::kMovable, K::logical, "movable", &Wn::movable},
    {P::kIcon, K::icon, "icon", &Wn::icon},
    {P::kKeptFlag21, K::logical, "keptFlag21", &Wn::keptFlag21},
    {P::kKeptFlag22, K::logical, "keptFlag22", &Wn::keptFlag22},
    {P::kKeptFlag23, K::logical, "keptFlag23", &Wn::keptFlag23},
    {P::kHelpFile, K::fileName, "helpFile", &Wn::helpFile},
    {P::kHelpContext, K::integer, "helpContext", &Wn::helpContext},
    {P::kShowInTaskBar, K::logical, "showInTaskBar", &Wn::showInTaskBar},
    {P::kKeptFlag27, K::logical, "keptFlag27", &Wn::keptFlag27},
    {P::kShape, K::choice, "shape", &Wn::shape},
    {P::kAlwaysOnTop, K::logical, "alwaysOnTop", &Wn::alwaysOnTop},
    {P::kKeepCaptionActive, K::logical, "keepCaptionActive", &Wn::keepCaptionActive},
    {P::kClassName, K::text, "className", &Wn::className},
};
constexpr BlockStep<Wn> kBlock[] = {
    {P::kBorder, 1},          {P::kPictureMode, 1},       {P::kBackgroundColour, 1},
    {P::kMaximizeButton, 1},  {P::kMinimizeButton, 1},    {P::kControlButton, 1},
    {P::kPosition, 1},        {P::kMovable, 1},           {P::kSoundRepetition, 1},
    {P::kKeptFlag21, 1},      {P::kKeptFlag22, 1},        {P::kKeptFlag23, 1},
    {P::kHelpContext, 1},     {P::kShowInTaskBar, 2},     {P::kKeptFlag27, 3},
    {P::kShape, 3},           {P::kAlwaysOnTop, 4},       {P::kKeepCaptionActive, 5},
    {P::kClassName, 6},       {P::kBackgroundPicture, 1}, {P::kIcon, 1},
    {P::kBackgroundSound, 1}, {P::kCaption, 1},           {P::kHelpFile, 1},
};
}  // namespace window_table

using Lb = LabelProperties;
namespace label_table {
using P = LabelProperty;
constexpr PropertyField<Lb> kFields[] = {
    {P::kCaption, K::text, "caption", &Lb::caption},
    {P::kEffect, K::choice, "effect", &Lb::effect},
    {P::kBorder, K::choice, "border", &Lb::border},
    {P::kFrameWidth, K::integer, "frameWidth", &Lb::frameWidth},
    {P::kFrameColour1, K::colourOrTransparent, "frameColour1", &Lb::frameColour1},
    {P::kFrameColour2, K::colourOrTransparent, "frameColour2", &Lb::frameColour2},
    {P::kFrameColour3, K::colourOrTransparent, "frameColour3", &Lb::frameColour3},
    {P::kFont, K::font, "font", &Lb::font},
    {P::kTextColour, K::colour, "textColour", &Lb::textColour},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Lb::backgroundColour},
    {P::kBackgroundPicture, K::picture, "backgroundPicture", &Lb::backgroundPicture},
    {P::kPictureMode, K::choice, "pictureMode", &Lb::pictureMode},
    {P::kGradientMode, K::choice, "gradientMode", &Lb::gradientMode},
    {P::kGradientColour1, K::colourOrTransparent, "gradientColour1", &Lb::gradientColour1},
    {P::kGradientColour2, K::colourOrTransparent, "gradientColour2", &Lb::gradientColour2},
    {P::kGradientColour3, K::colourOrTransparent, "gradientColour3", &Lb::gradientColour3},
    {P::kHorizontalAlignment, K::choice, "horizontalAlignment", &Lb::horizontalAlignment},
    {P::kWordWrap, K::logical, "wordWrap", &Lb::wordWrap},
    {P::kVerticalAlignment, K::choice, "verticalAlignment", &Lb::verticalAlignment},
    {P::kBindingSource, K::bindingSource, "bindingSource", &Lb::bindingSource},
    {P::kBindingField, K::bindingField, "bindingField", &Lb::bindingField},
};
constexpr BlockStep<Lb> kBlock[] = {
    {P::kEffect, 1},
    {P::kFrameWidth, 1},
    {P::kBorder, 1},
    {P::kFrameColour1, 1},
    {P::kFrameColour2, 1},
    {P::kFrameColour3, 1},
    {P::kTextColour, 1},
    {P::kBackgroundColour, 1},
    {P::kPictureMode, 1},
    {P::kGradientMode, 1},
    {P::kGradientColour1, 1},
    {P::kGradientColour2, 1},
    {P::kGradientColour3, 1},
    {P::kHorizontalAlignment, 1},
    {P::kVerticalAlignment, 1},
    {P::kWordWrap, 1},
    {P::kFont, 1},
    {P::kBackgroundPicture, 1},
    {P::kCaption, 1},
    {P::kBindingSource, 2},
    {P::kBindingField, 2},
};
}  // namespace label_table

using Ed = EditBoxProperties;
namespace edit_box_table {
using P = EditBoxProperty;
constexpr PropertyField<Ed> kFields[] = {
    {P::kContent, K::text, "content", &Ed::content},
    {P::kBorder, K::choice, "border", &Ed::border},
    {P::kTextColour, K::colour, "textColour", &Ed::textColour},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Ed::backgroundColour},
    {P::kFont, K::font, "font", &Ed::font},
    {P::kHideSelection, K::logical, "hideSelection", &Ed::hideSelection},
    {P::kMaxLength, K::integer, "maxLength", &Ed::maxLength},
    {P::kMultiLine, K::logical, "multiLine", &Ed::multiLine},
    {P::kScrollBars, K::choice, "scrollBars", &Ed::scrollBars},
    {P::kAlignment, K::choice, "alignment", &Ed::alignment},
    {P::kInputMode, K::choice, "inputMode", &Ed::inputMode},
    {P::kPasswordCharacter, K::text, "passwordCharacter", &Ed::passwordCharacter},
    {P::kLetterCase, K::choice, "letterCase", &Ed::letterCase},
    {P::kAdjuster, K::choice, "adjuster", &Ed::adjuster},
    {P::kAdjusterLowest, K::integer, "adjusterLowest", &Ed::adjusterLowest},
    {P::kAdjusterHighest, K::integer, "adjusterHighest", &Ed::adjusterHighest},
    {P::kSelectionStart, K::integer, "selectionStart", &Ed::selectionStart},
    {P::kSelectionLength, K::integer, "selectionLength", &Ed::selectionLength},
    {P::kSelectedText, K::text, "selectedText", {}},
    {P::kBindingSource, K::bindingSource, "bindingSource", &Ed::bindingSource},
    {P::kBindingField, K::bindingField, "bindingField", &Ed::bindingField},
};
constexpr BlockStep<Ed> kBlock[] = {
    {P::kBorder, 1},
    {P::kTextColour, 1},
    {P::kBackgroundColour, 1},
    {P::kHideSelection, 1},
    {P::kMaxLength, 1},
    {P::kMultiLine, 1},
    {P::kScrollBars, 1},
    {P::kAlignment, 1},
    {P::kInputMode, 1},
    {P::kPasswordCharacter, 1},
    {P::kLetterCase, 1},
    {P::kAdjuster, 1},
    {P::kAdjusterLowest, 1},
    {P::kAdjusterHighest, 1},
    {P::kSelectionStart, 1},
    {P::kSelectionLength, 1},
    {P::kFont, 1},
    {P::kContent, 1},
    {P::kBindingSource, 2},
    {P::kBindingField, 2},
};
}  // namespace edit_box_table

using Pb = PicBoxProperties;
namespace pic_box_table {
using P = PicBoxProperty;
constexpr PropertyField<Pb> kFields[] = {
    {P::kBorder, K::choice, "border", &Pb::border},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Pb::backgroundColour},
    {P::kPicture, K::picture, "picture", &Pb::picture},
    {P::kDisplayMode, K::choice, "displayMode", &Pb::displayMode},
    {P::kRuntimeFlag, K::logical, "runtimeFlag", &Pb::runtimeFlag},
    {P::kBindingSource, K::bindingSource, "bindingSource", &Pb::bindingSource},
    {P::kBindingField, K::bindingField, "bindingField", &Pb::bindingField},
};
constexpr BlockStep<Pb> kBlock[] = {
    {P::kBorder, 1},  {P::kBackgroundColour, 1}, {P::kDisplayMode, 1}, {P::kRuntimeFlag, 1},
    {P::kPicture, 1}, {P::kBindingSource, 2},    {P::kBindingField, 2}};
}  // namespace pic_box_table

using Sb = ShapeBoxProperties;
namespace shape_box_table {
using P = ShapeBoxProperty;
constexpr PropertyField<Sb> kFields[] = {
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Sb::backgroundColour},
    {P::kShape, K::choice, "shape", &Sb::shape},
    {P::kLineRelief, K::choice, "lineRelief", &Sb::lineRelief},
    {P::kLineStyle, K::choice, "lineStyle", &Sb::lineStyle},
    {P::kLineWidth, K::integer, "lineWidth", &Sb::lineWidth},
    {P::kLineColour, K::colour, "lineColour", &Sb::lineColour},
    {P::kFillColour, K::colourOrTransparent, "fillColour", &Sb::fillColour},
};
constexpr BlockStep<Sb> kBlock[] = {
    {P::kBackgroundColour, 1}, {P::kShape, 1},      {P::kLineRelief, 1}, {P::kLineStyle, 1},
    {P::kLineWidth, 1},        {P::kLineColour, 1}, {P::kFillColour, 1}};
}  // namespace shape_box_table

using Gb = GroupBoxProperties;
namespace group_box_table {
using P = GroupBoxProperty;
constexpr PropertyField<Gb> kFields[] = {
    {P::kCaption, K::text, "caption", &Gb::caption},
    {P::kCaptionAlignment, K::choice, "captionAlignment", &Gb::captionAlignment},
    {P::kTextColour, K::colour, "textColour", &Gb::textColour},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Gb::backgroundColour},
    {P::kFont, K::font, "font", &Gb::font},
};
constexpr BlockStep<Gb> kBlock[] = {{P::kCaptionAlignment, 1},
                                    {P::kTextColour, 1},
                                    {P::kBackgroundColour, 1},
                                    {P::kFont, 1},
                                    {P::kCaption, 1}};
}  // namespace group_box_table

using Cb = CheckBoxProperties;
namespace check_box_table {
using P = CheckBoxProperty;
constexpr PropertyField<Cb> kFields[] = {
    {P::kPicture, K::picture, "picture", &Cb::picture},
    {P::kPushLike, K::logical, "pushLike", &Cb::pushLike},
    {P::kFlat, K::logical, "flat", &Cb::flat},
    {P::kCaption, K::text, "caption", &Cb::caption},
    {P::kTextOnLeft, K::logical, "textOnLeft", &Cb::textOnLeft},
    {P::kHorizontalAlignment, K::choice, "horizontalAlignment", &Cb::horizontalAlignment},
    {P::kVerticalAlignment, K::choice, "verticalAlignment", &Cb::verticalAlignment},
    {P::kTextColour, K::colour, "textColour", &Cb::textColour},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Cb::backgroundColour},
    {P::kFont, K::font, "font", &Cb::font},
    {P::kChecked, K::logical, "checked", &Cb::checked},
    {P::kBindingSource, K::bindingSource, "bindingSource", &Cb::bindingSource},
    {P::kBindingField, K::bindingField, "bindingField", &Cb::bindingField},
};
constexpr BlockStep<Cb> kBlock[] = {{P::kPushLike, 1},          {P::kFlat, 1},
                                    {P::kTextOnLeft, 1},        {P::kHorizontalAlignment, 1},
                                    {P::kVerticalAlignment, 1}, {P::kTextColour, 1},
                                    {P::kBackgroundColour, 1},  {P::kChecked, 1},
                                    {P::kPicture, 1},           {P::kFont, 1},
                                    {P::kCaption, 1},           {P::kBindingSource, 2},
                                    {P::kBindingField, 2}};
}  // namespace check_box_table

using Co = ComboBoxProperties;
namespace combo_box_table {
using P = ComboBoxProperty;
constexpr PropertyField<Co> kFields[] = {
    {P::kKind, K::choice, "kind", &Co::kind},
    {P::kText, K::text, "text", &Co::text},
    {P::kMaxLength, K::integer, "maxLength", &Co::maxLength},
    {P::kSelectionStart, K::integer, "selectionStart", &Co::selectionStart},
    {P::kSelectionLength, K::integer, "selectionLength", &Co::selectionLength},
    {P::kSelectedText, K::text, "selectedText", {}},
    {P::kSorted, K::logical, "sorted", &Co::sorted},
    {P::kExtraItemHeight, K::integer, "extraItemHeight", &Co::extraItemHeight},
    {P::kTextColour, K::colour, "textColour", &Co::textColour},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Co::backgroundColour},
    {P::kFont, K::font, "font", &Co::font},
    {P::kCurrentItem, K::integer, "currentItem", &Co::currentItem},
    {P::kItems, K::byteData, "items", &Co::items},
    {P::kItemData, K::byteData, "itemData", &Co::itemData},
    {P::kBindingSource, K::bindingSource, "bindingSource", &Co::bindingSource},
    {P::kBindingField, K::bindingField, "bindingField", &Co::bindingField},
    {P::kKeptFlag24, K::logical, "keptFlag24", &Co::keptFlag24},
};
constexpr BlockStep<Co> kBlock[] = {{P::kKind, 1},           {P::kMaxLength, 1},
                                    {P::kSelectionStart, 1}, {P::kSelectionLength, 1},
                                    {P::kSorted, 1},         {P::kExtraItemHeight, 1},
                                    {P::kTextColour, 1},     {P::kBackgroundColour, 1},
                                    {P::kCurrentItem, 1},    {P::kFont, 1},
                                    {P::kItemData, 1},       {P::kText, 1},
                                    {P::kItems, 1},          {P::kBindingSource, 2},
                                    {P::kBindingField, 2},   {P::kKeptFlag24, 3}};
}  // namespace combo_box_table

using Tl = TransLabelProperties;
namespace trans_label_table {
using P = TransLabelProperty;
constexpr PropertyField<Tl> kFields[] = {
    {P::kCaption, K::text, "caption", &Tl::caption},
    {P::kEffect, K::choice, "effect", &Tl::effect},
    {P::kFont, K::font, "font", &Tl::font},
    {P::kTextColour, K::colour, "textColour", &Tl::textColour},
    {P::kHorizontalAlignment, K::choice, "horizontalAlignment", &Tl::horizontalAlignment},
    {P::kWordWrap, K::logical, "wordWrap", &Tl::wordWrap},
    {P::kVerticalAlignment, K::choice, "verticalAlignment", &Tl::verticalAlignment},
};
constexpr BlockStep<Tl> kBlock[] = {{P::kEffect, 1},
                                    {P::kTextColour, 1},
                                    {P::kHorizontalAlignment, 1},
                                    {P::kVerticalAlignment, 1},
                                    {P::kWordWrap, 1},
                                    {P::kFont, 1},
                                    {P::kCaption, 1}};
}  // namespace trans_label_table

using Sp = SuperBtnProperties;
namespace super_btn_table {
using P = SuperBtnProperty;
constexpr PropertyField<Sp> kFields[] = {
    {P::kStyle, K::choice, "style", &Sp::style},
    {P::kCheckBoxMode, K::logical, "checkBoxMode", &Sp::checkBoxMode},
    {P::kChecked, K::logical, "checked", &Sp::checked},
    {P::kPicturePosition, K::choice, "picturePosition", &Sp::picturePosition},
    {P::kPressedOffset, K::choice, "pressedOffset", &Sp::pressedOffset},
    {P::kDrawBorder, K::logical, "drawBorder", &Sp::drawBorder},
    {P::kDrawFocusWhenFlat, K::logical, "drawFocusWhenFlat", &Sp::drawFocusWhenFlat},
    {P::kNormalPicture, K::picture, "normalPicture", &Sp::normalPicture},
    {P::kNormalTransparentColour, K::backgroundColour, "normalTransparentColour",
     &Sp::normalTransparentColour},
    {P::kHoverPicture, K::picture, "hoverPicture", &Sp::hoverPicture},
    {P::kHoverTransparentColour, K::backgroundColour, "hoverTransparentColour",
     &Sp::hoverTransparentColour},
    {P::kDisabledPicture, K::picture, "disabledPicture", &Sp::disabledPicture},
    {P::kDisabledTransparentColour, K::backgroundColour, "disabledTransparentColour",
     &Sp::disabledTransparentColour},
    {P::kFont, K::font, "font", &Sp::font},
    {P::kCaption, K::text, "caption", &Sp::caption},
    {P::kUseSystemColours, K::logical, "useSystemColours", &Sp::useSystemColours},
    {P::kTextColour, K::colour, "textColour", &Sp::textColour},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Sp::backgroundColour},
    {P::kHoverTextColour, K::colour, "hoverTextColour", &Sp::hoverTextColour},
    {P::kHoverBackgroundColour, K::backgroundColour, "hoverBackgroundColour",
     &Sp::hoverBackgroundColour},
    {P::kFocusTextColour, K::colour, "focusTextColour", &Sp::focusTextColour},
    {P::kFocusBackgroundColour, K::backgroundColour, "focusBackgroundColour",
     &Sp::focusBackgroundColour},
    {P::kBuiltInSound, K::logical, "builtInSound", &Sp::builtInSound},
    {P::kHoverSound, K::sound, "hoverSound", &Sp::hoverSound},
    {P::kClickSound, K::sound, "clickSound", &Sp::clickSound},
    {P::kToolTip, K::text, "toolTip", &Sp::toolTip},
    {P::kDefaultButton, K::choice, "defaultButton", &Sp::defaultButton},
};
constexpr BlockStep<Sp> kBlock[] = {
    {P::kStyle, 1},
    {P::kCheckBoxMode, 1},
    {P::kChecked, 1},
    {P::kPicturePosition, 1},
    {P::kPressedOffset, 1},
    {P::kDrawBorder, 1},
    {P::kDrawFocusWhenFlat, 1},
    {P::kHoverTransparentColour, 1},
    {P::kNormalTransparentColour, 1},
    {P::kUseSystemColours, 1},
    {P::kBuiltInSound, 1},
    {P::kDefaultButton, 1},
    {P::kTextColour, 1},
    {P::kBackgroundColour, 1},
    {P::kHoverTextColour, 1},
    {P::kHoverBackgroundColour, 1},
    {P::kFocusTextColour, 1},
    {P::kFocusBackgroundColour, 1},
    {P::kHoverPicture, 1},
    {P::kNormalPicture, 1},
    {P::kFont, 1},
    {P::kHoverSound, 1},
    {P::kClickSound, 1},
    {P::kCaption, 1},
    {P::kToolTip, 1},
    {P::kDisabledTransparentColour, 2},
    {P::kDisabledPicture, 2},
};
}  // namespace super_btn_table

using Ca = CartoonBoxProperties;
namespace cartoon_box_table {
using P = CartoonBoxProperty;
constexpr PropertyField<Ca> kFields[] = {
    {P::kBorder, K::choice, "border", &Ca::border},
    {P::kBackgroundColour, K::backgroundColour, "backgroundColour", &Ca::backgroundColour},
    {P::kBackgroundPicture, K::picture, "backgroundPicture", &Ca::backgroundPicture},
    {P::kPictureMode, K::choice, "pictureMode", &Ca::pictureMode},
    {P::kObjectShape, K::choice, "objectShape", &Ca::objectShape},
    {P::kObjectMotion, K::choice, "objectMotion", &Ca::objectMotion},
    {P::kObjectSpeed, K::integer, "objectSpeed", &Ca::objectSpeed},
    {P::kObjectStep, K::choice, "objectStep", &Ca::objectStep},
    {P::kObjectsVisible, K::logical, "objectsVisible", &Ca::objectsVisible},
    {P::kObjectColour, K::colour, "objectColour", &Ca::objectColour},
    {P::kObjectTextColour, K::colour, "objectTextColour", &Ca::objectTextColour},
    {P::kObjectBackgroundColour, K::backgroundColour, "objectBackgroundColour",
     &Ca::objectBackgroundColour},
    {P::kObjectFont, K::font, "objectFont", &Ca::objectFont},
};
constexpr BlockStep<Ca> kBlock[] = {
    {P::kBorder, 1},           {P::kBackgroundColour, 1},       {P::kPictureMode, 1},
    {P::kObjectShape, 2},      {P::kObjectMotion, 2},           {P::kObjectSpeed, 2},
    {P::kObjectStep, 2},       {P::kObjectsVisible, 2},         {P::kObjectColour, 2},
    {P::kObjectTextColour, 2}, {P::kObjectBackgroundColour, 2}, {P::kObjectFont, 2},
    {P::kBackgroundPicture, 1}};
}  // namespace cartoon_box_table

}  // namespace

const PropertyTable<Wn> Wn::table = {kWindowType, "window", 6, window_table::kFields,
                                     window_table::kBlock};
const PropertyTable<Lb> Lb::table = {kLabelType, "Label", 2, label_table::kFields,
                                     label_table::kBlock};
const PropertyTable<Ed> Ed::table = {kEditBoxType, "EditBox", 2, edit_box_table::kFields,
                                     edit_box_table::kBlock};
const PropertyTable<Pb> Pb::table = {kPicBoxType, "PicBox", 2, pic_box_table::kFields,
                                     pic_box_table::kBlock};
const PropertyTable<Sb> Sb::table = {kShapeBoxType, "ShapeBox", 1, shape_box_table::kFields,
                                     shape_box_table::kBlock};
const PropertyTable<Gb> Gb::table = {kGroupBoxType, "GroupBox", 1, group_box_table::kFields,
                                     group_box_table::kBlock};
const PropertyTable<Cb> Cb::table = {kCheckBoxType, "CheckBox", 2, check_box_table::kFields,
                                     check_box_table::kBlock};
const PropertyTable<Co> Co::table = {kComboBoxType, "ComboBox", 3, combo_box_table::kFields,
                                     combo_box_table::kBlock};
const PropertyTable<Tl> Tl::table = {kTransLabelType, "TransLabel", 1, trans_label_table::kFields,
                                     trans_label_table::kBlock};
const PropertyTable<Sp> Sp::table = {kSuperBtnType, "SuperBtn", 2, super_btn_table::kFields,
                                     super_btn_table::kBlock};
const PropertyTable<Ca> Ca::table = {kCartoonBoxType, "CartoonBox", 2, cartoon_box_table::kFields,
                                     cartoon_box_table::kBlock};

}  // namespace velmora
