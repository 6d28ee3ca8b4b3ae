// The property table of every unit type: each own property's index, kind, name and member, and
// the field order of the stored block by version.
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"

namespace velmora {
namespace {

using K = PropertyKind;

using Wn = WindowProperties;
constexpr PropertyField<Wn> kWindowFields[] = {
    {8, K::text, "caption", &Wn::caption},
    {9, K::choice, "border", &Wn::border},
    {10, K::backgroundColour, "backgroundColour", &Wn::backgroundColour},
    {11, K::picture, "backgroundPicture", &Wn::backgroundPicture},
    {12, K::choice, "pictureMode", &Wn::pictureMode},
    {13, K::sound, "backgroundSound", &Wn::backgroundSound},
    {14, K::choice, "soundRepetition", &Wn::soundRepetition},
    {15, K::logical, "controlButton", &Wn::controlButton},
    {16, K::logical, "maximizeButton", &Wn::maximizeButton},
    {17, K::logical, "minimizeButton", &Wn::minimizeButton},
    {18, K::choice, "position", &Wn::position},
    {19, K::logical, "movable", &Wn::movable},
    {20, K::icon, "icon", &Wn::icon},
    {21, K::logical, "keptFlag21", &Wn::keptFlag21},
    {22, K::logical, "keptFlag22", &Wn::keptFlag22},
    {23, K::logical, "keptFlag23", &Wn::keptFlag23},
    {24, K::fileName, "helpFile", &Wn::helpFile},
    {25, K::integer, "helpContext", &Wn::helpContext},
    {26, K::logical, "showInTaskBar", &Wn::showInTaskBar},
    {27, K::logical, "keptFlag27", &Wn::keptFlag27},
    {28, K::choice, "shape", &Wn::shape},
    {29, K::logical, "alwaysOnTop", &Wn::alwaysOnTop},
    {30, K::logical, "keepCaptionActive", &Wn::keepCaptionActive},
    {31, K::text, "className", &Wn::className},
};
constexpr BlockStep kWindowBlock[] = {
    {9, 1},  {12, 1}, {10, 1}, {16, 1}, {17, 1}, {15, 1}, {18, 1}, {19, 1},
    {14, 1}, {21, 1}, {22, 1}, {23, 1}, {25, 1}, {26, 2}, {27, 3}, {28, 3},
    {29, 4}, {30, 5}, {31, 6}, {11, 1}, {20, 1}, {13, 1}, {8, 1},  {24, 1},
};

using Lb = LabelProperties;
constexpr PropertyField<Lb> kLabelFields[] = {
    {8, K::text, "caption", &Lb::caption},
    {9, K::choice, "effect", &Lb::effect},
    {10, K::choice, "border", &Lb::border},
    {11, K::integer, "frameWidth", &Lb::frameWidth},
    {12, K::colourOrTransparent, "frameColour1", &Lb::frameColour1},
    {13, K::colourOrTransparent, "frameColour2", &Lb::frameColour2},
    {14, K::colourOrTransparent, "frameColour3", &Lb::frameColour3},
    {15, K::font, "font", &Lb::font},
    {16, K::colour, "textColour", &Lb::textColour},
    {17, K::backgroundColour, "backgroundColour", &Lb::backgroundColour},
    {18, K::picture, "backgroundPicture", &Lb::backgroundPicture},
    {19, K::choice, "pictureMode", &Lb::pictureMode},
    {20, K::choice, "gradientMode", &Lb::gradientMode},
    {21, K::colourOrTransparent, "gradientColour1", &Lb::gradientColour1},
    {22, K::colourOrTransparent, "gradientColour2", &Lb::gradientColour2},
    {23, K::colourOrTransparent, "gradientColour3", &Lb::gradientColour3},
    {24, K::choice, "horizontalAlignment", &Lb::horizontalAlignment},
    {25, K::logical, "wordWrap", &Lb::wordWrap},
    {26, K::choice, "verticalAlignment", &Lb::verticalAlignment},
    {27, K::bindingSource, "bindingSource", &Lb::bindingSource},
    {28, K::bindingField, "bindingField", &Lb::bindingField},
};
constexpr BlockStep kLabelBlock[] = {
    {9, 1},  {11, 1}, {10, 1}, {12, 1}, {13, 1}, {14, 1}, {16, 1},
    {17, 1}, {19, 1}, {20, 1}, {21, 1}, {22, 1}, {23, 1}, {24, 1},
    {26, 1}, {25, 1}, {15, 1}, {18, 1}, {8, 1},  {27, 2}, {28, 2},
};

using Ed = EditBoxProperties;
constexpr PropertyField<Ed> kEditBoxFields[] = {
    {8, K::text, "content", &Ed::content},
    {9, K::choice, "border", &Ed::border},
    {10, K::colour, "textColour", &Ed::textColour},
    {11, K::backgroundColour, "backgroundColour", &Ed::backgroundColour},
    {12, K::font, "font", &Ed::font},
    {13, K::logical, "hideSelection", &Ed::hideSelection},
    {14, K::integer, "maxLength", &Ed::maxLength},
    {15, K::logical, "multiLine", &Ed::multiLine},
    {16, K::choice, "scrollBars", &Ed::scrollBars},
    {17, K::choice, "alignment", &Ed::alignment},
    {18, K::choice, "inputMode", &Ed::inputMode},
    {19, K::text, "passwordCharacter", &Ed::passwordCharacter},
    {20, K::choice, "letterCase", &Ed::letterCase},
    {21, K::choice, "adjuster", &Ed::adjuster},
    {22, K::integer, "adjusterLowest", &Ed::adjusterLowest},
    {23, K::integer, "adjusterHighest", &Ed::adjusterHighest},
    {24, K::integer, "selectionStart", &Ed::selectionStart},
    {25, K::integer, "selectionLength", &Ed::selectionLength},
    {26, K::text, "selectedText", {}},
    {27, K::bindingSource, "bindingSource", &Ed::bindingSource},
    {28, K::bindingField, "bindingField", &Ed::bindingField},
};
constexpr BlockStep kEditBoxBlock[] = {
    {9, 1},  {10, 1}, {11, 1}, {13, 1}, {14, 1}, {15, 1}, {16, 1}, {17, 1}, {18, 1}, {19, 1},
    {20, 1}, {21, 1}, {22, 1}, {23, 1}, {24, 1}, {25, 1}, {12, 1}, {8, 1},  {27, 2}, {28, 2},
};

using Pb = PicBoxProperties;
constexpr PropertyField<Pb> kPicBoxFields[] = {
    {8, K::choice, "border", &Pb::border},
    {9, K::backgroundColour, "backgroundColour", &Pb::backgroundColour},
    {10, K::picture, "picture", &Pb::picture},
    {11, K::choice, "displayMode", &Pb::displayMode},
    {12, K::logical, "runtimeFlag", &Pb::runtimeFlag},
    {13, K::bindingSource, "bindingSource", &Pb::bindingSource},
    {14, K::bindingField, "bindingField", &Pb::bindingField},
};
constexpr BlockStep kPicBoxBlock[] = {{8, 1}, {9, 1}, {11, 1}, {12, 1}, {10, 1}, {13, 2}, {14, 2}};

using Sb = ShapeBoxProperties;
constexpr PropertyField<Sb> kShapeBoxFields[] = {
    {8, K::backgroundColour, "backgroundColour", &Sb::backgroundColour},
    {9, K::choice, "shape", &Sb::shape},
    {10, K::choice, "lineRelief", &Sb::lineRelief},
    {11, K::choice, "lineStyle", &Sb::lineStyle},
    {12, K::integer, "lineWidth", &Sb::lineWidth},
    {13, K::colour, "lineColour", &Sb::lineColour},
    {14, K::colourOrTransparent, "fillColour", &Sb::fillColour},
};
constexpr BlockStep kShapeBoxBlock[] = {{8, 1},  {9, 1},  {10, 1}, {11, 1},
                                        {12, 1}, {13, 1}, {14, 1}};

using Gb = GroupBoxProperties;
constexpr PropertyField<Gb> kGroupBoxFields[] = {
    {8, K::text, "caption", &Gb::caption},
    {9, K::choice, "captionAlignment", &Gb::captionAlignment},
    {10, K::colour, "textColour", &Gb::textColour},
    {11, K::backgroundColour, "backgroundColour", &Gb::backgroundColour},
    {12, K::font, "font", &Gb::font},
};
constexpr BlockStep kGroupBoxBlock[] = {{9, 1}, {10, 1}, {11, 1}, {12, 1}, {8, 1}};

using Cb = CheckBoxProperties;
constexpr PropertyField<Cb> kCheckBoxFields[] = {
    {8, K::picture, "picture", &Cb::picture},
    {9, K::logical, "pushLike", &Cb::pushLike},
    {10, K::logical, "flat", &Cb::flat},
    {11, K::text, "caption", &Cb::caption},
    {12, K::logical, "textOnLeft", &Cb::textOnLeft},
    {13, K::choice, "horizontalAlignment", &Cb::horizontalAlignment},
    {14, K::choice, "verticalAlignment", &Cb::verticalAlignment},
    {15, K::colour, "textColour", &Cb::textColour},
    {16, K::backgroundColour, "backgroundColour", &Cb::backgroundColour},
    {17, K::font, "font", &Cb::font},
    {18, K::logical, "checked", &Cb::checked},
    {19, K::bindingSource, "bindingSource", &Cb::bindingSource},
    {20, K::bindingField, "bindingField", &Cb::bindingField},
};
constexpr BlockStep kCheckBoxBlock[] = {{9, 1},  {10, 1}, {12, 1}, {13, 1}, {14, 1},
                                        {15, 1}, {16, 1}, {18, 1}, {8, 1},  {17, 1},
                                        {11, 1}, {19, 2}, {20, 2}};

using Co = ComboBoxProperties;
constexpr PropertyField<Co> kComboBoxFields[] = {
    {8, K::choice, "kind", &Co::kind},
    {9, K::text, "text", &Co::text},
    {10, K::integer, "maxLength", &Co::maxLength},
    {11, K::integer, "selectionStart", &Co::selectionStart},
    {12, K::integer, "selectionLength", &Co::selectionLength},
    {13, K::text, "selectedText", {}},
    {14, K::logical, "sorted", &Co::sorted},
    {15, K::integer, "extraItemHeight", &Co::extraItemHeight},
    {16, K::colour, "textColour", &Co::textColour},
    {17, K::backgroundColour, "backgroundColour", &Co::backgroundColour},
    {18, K::font, "font", &Co::font},
    {19, K::integer, "currentItem", &Co::currentItem},
    {20, K::byteData, "items", &Co::items},
    {21, K::byteData, "itemData", &Co::itemData},
    {22, K::bindingSource, "bindingSource", &Co::bindingSource},
    {23, K::bindingField, "bindingField", &Co::bindingField},
    {24, K::logical, "keptFlag24", &Co::keptFlag24},
};
constexpr BlockStep kComboBoxBlock[] = {{8, 1},  {10, 1}, {11, 1}, {12, 1}, {14, 1}, {15, 1},
                                        {16, 1}, {17, 1}, {19, 1}, {18, 1}, {21, 1}, {9, 1},
                                        {20, 1}, {22, 2}, {23, 2}, {24, 3}};

using Tl = TransLabelProperties;
constexpr PropertyField<Tl> kTransLabelFields[] = {
    {8, K::text, "caption", &Tl::caption},
    {9, K::choice, "effect", &Tl::effect},
    {10, K::font, "font", &Tl::font},
    {11, K::colour, "textColour", &Tl::textColour},
    {12, K::choice, "horizontalAlignment", &Tl::horizontalAlignment},
    {13, K::logical, "wordWrap", &Tl::wordWrap},
    {14, K::choice, "verticalAlignment", &Tl::verticalAlignment},
};
constexpr BlockStep kTransLabelBlock[] = {{9, 1},  {11, 1}, {12, 1}, {14, 1},
                                          {13, 1}, {10, 1}, {8, 1}};

using Sp = SuperBtnProperties;
constexpr PropertyField<Sp> kSuperBtnFields[] = {
    {8, K::choice, "style", &Sp::style},
    {9, K::logical, "checkBoxMode", &Sp::checkBoxMode},
    {10, K::logical, "checked", &Sp::checked},
    {11, K::choice, "picturePosition", &Sp::picturePosition},
    {12, K::choice, "pressedOffset", &Sp::pressedOffset},
    {13, K::logical, "drawBorder", &Sp::drawBorder},
    {14, K::logical, "drawFocusWhenFlat", &Sp::drawFocusWhenFlat},
    {15, K::picture, "normalPicture", &Sp::normalPicture},
    {16, K::backgroundColour, "normalTransparentColour", &Sp::normalTransparentColour},
    {17, K::picture, "hoverPicture", &Sp::hoverPicture},
    {18, K::backgroundColour, "hoverTransparentColour", &Sp::hoverTransparentColour},
    {19, K::picture, "disabledPicture", &Sp::disabledPicture},
    {20, K::backgroundColour, "disabledTransparentColour", &Sp::disabledTransparentColour},
    {21, K::font, "font", &Sp::font},
    {22, K::text, "caption", &Sp::caption},
    {23, K::logical, "useSystemColours", &Sp::useSystemColours},
    {24, K::colour, "textColour", &Sp::textColour},
    {25, K::backgroundColour, "backgroundColour", &Sp::backgroundColour},
    {26, K::colour, "hoverTextColour", &Sp::hoverTextColour},
    {27, K::backgroundColour, "hoverBackgroundColour", &Sp::hoverBackgroundColour},
    {28, K::colour, "focusTextColour", &Sp::focusTextColour},
    {29, K::backgroundColour, "focusBackgroundColour", &Sp::focusBackgroundColour},
    {30, K::logical, "builtInSound", &Sp::builtInSound},
    {31, K::sound, "hoverSound", &Sp::hoverSound},
    {32, K::sound, "clickSound", &Sp::clickSound},
    {33, K::text, "toolTip", &Sp::toolTip},
    {34, K::choice, "defaultButton", &Sp::defaultButton},
};
constexpr BlockStep kSuperBtnBlock[] = {
    {8, 1},  {9, 1},  {10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}, {18, 1}, {16, 1},
    {23, 1}, {30, 1}, {34, 1}, {24, 1}, {25, 1}, {26, 1}, {27, 1}, {28, 1}, {29, 1},
    {17, 1}, {15, 1}, {21, 1}, {31, 1}, {32, 1}, {22, 1}, {33, 1}, {20, 2}, {19, 2},
};

using Ca = CartoonBoxProperties;
constexpr PropertyField<Ca> kCartoonBoxFields[] = {
    {8, K::choice, "border", &Ca::border},
    {9, K::backgroundColour, "backgroundColour", &Ca::backgroundColour},
    {10, K::picture, "backgroundPicture", &Ca::backgroundPicture},
    {11, K::choice, "pictureMode", &Ca::pictureMode},
    {12, K::choice, "objectShape", &Ca::objectShape},
    {13, K::choice, "objectMotion", &Ca::objectMotion},
    {14, K::integer, "objectSpeed", &Ca::objectSpeed},
    {15, K::choice, "objectStep", &Ca::objectStep},
    {16, K::logical, "objectsVisible", &Ca::objectsVisible},
    {17, K::colour, "objectColour", &Ca::objectColour},
    {18, K::colour, "objectTextColour", &Ca::objectTextColour},
    {19, K::backgroundColour, "objectBackgroundColour", &Ca::objectBackgroundColour},
    {20, K::font, "objectFont", &Ca::objectFont},
};
constexpr BlockStep kCartoonBoxBlock[] = {{8, 1},  {9, 1},  {11, 1}, {12, 2}, {13, 2},
                                          {14, 2}, {15, 2}, {16, 2}, {17, 2}, {18, 2},
                                          {19, 2}, {20, 2}, {10, 1}};

}  // namespace

const PropertyTable<Wn> Wn::table = {kWindowType, "window", 6, kWindowFields, kWindowBlock};
const PropertyTable<Lb> Lb::table = {kLabelType, "Label", 2, kLabelFields, kLabelBlock};
const PropertyTable<Ed> Ed::table = {kEditBoxType, "EditBox", 2, kEditBoxFields, kEditBoxBlock};
const PropertyTable<Pb> Pb::table = {kPicBoxType, "PicBox", 2, kPicBoxFields, kPicBoxBlock};
const PropertyTable<Sb> Sb::table = {kShapeBoxType, "ShapeBox", 1, kShapeBoxFields, kShapeBoxBlock};
const PropertyTable<Gb> Gb::table = {kGroupBoxType, "GroupBox", 1, kGroupBoxFields, kGroupBoxBlock};
const PropertyTable<Cb> Cb::table = {kCheckBoxType, "CheckBox", 2, kCheckBoxFields, kCheckBoxBlock};
const PropertyTable<Co> Co::table = {kComboBoxType, "ComboBox", 3, kComboBoxFields, kComboBoxBlock};
const PropertyTable<Tl> Tl::table = {kTransLabelType, "TransLabel", 1, kTransLabelFields,
                                     kTransLabelBlock};
const PropertyTable<Sp> Sp::table = {kSuperBtnType, "SuperBtn", 2, kSuperBtnFields, kSuperBtnBlock};
const PropertyTable<Ca> Ca::table = {kCartoonBoxType, "CartoonBox", 2, kCartoonBoxFields,
                                     kCartoonBoxBlock};

}  // namespace velmora
