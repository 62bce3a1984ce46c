// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A skin definition: the INI file beside a skin's picture that says where each
// piece of the compass lies in the picture, which colours to use and how the
// readout is written.
//
// The file is read with the rules of Windows profile files, because skins are
// made with them: section and key names match without regard to case, a value
// is read up to 2047 characters, a missing key or a value that is not a number
// gives the default, integers may be "$" or "0x" hexadecimal. It is UTF-8 (a
// byte-order mark is accepted) or, when not valid UTF-8, GB18030, which covers
// the GB2312 of older skins.
//
// Everything in the file is untrusted: skins arrive in packages anyone can
// make. Reading never fails for bad content; each value falls back on its own.

#include "model/messages.h"

#include <QList>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace orvanta {

// A colour as skins hold it: 0x00BBGGRR, red in the low byte.
using SkinColor = std::uint32_t;

// The newest skin format this program understands; newer skins still load,
// with a message.
inline constexpr std::int32_t kSkinFormatVersion = 4;
// Readout font sizes are clamped into this range: a giant size would ask for
// a giant glyph cache and bitmap.
inline constexpr std::int32_t kMinFontSize = 1;
inline constexpr std::int32_t kMaxFontSize = 512;

// A rectangle of the picture by its edges; right and bottom are exclusive.
struct SkinRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    [[nodiscard]] std::int32_t width() const { return right - left; }
    [[nodiscard]] std::int32_t height() const { return bottom - top; }
    // A rectangle whose four edges are all 0 stands for "not there".
    [[nodiscard]] bool isUnset() const {
        return left == 0 && top == 0 && right == 0 && bottom == 0;
    }
    [[nodiscard]] QRect toQRect() const { return QRect(left, top, width(), height()); }
    bool operator==(const SkinRect&) const = default;
};

struct SkinPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const SkinPoint&) const = default;
};

// A text about the skin: the file's own (under the Chinese key every skin
// has) and the translations the file may carry as "Name[en]=...",
// "Name[zh_CN]=..." in the same section.
struct SkinText {
    QString own;
    QList<std::pair<QString, QString>> translations; // language tag, text

    // The text for `language` ("en", "zh_CN", "de_AT"): its own tag, then its
    // language alone ("de" for "de_AT"), then the file's own text.
    [[nodiscard]] QString in(QStringView language) const;
    // The text for the language the program speaks now.
    [[nodiscard]] QString shown() const;
};

// The language the program speaks now, as a tag ("en", "zh_CN"): the active
// catalogue says which it is.
[[nodiscard]] QString skinTextLanguage();

// Splits a list the way comma-text does: items are separated by commas and/or
// blanks; an item in double quotes may hold both (a doubled quote is one quote);
// an empty item between two commas is kept.
[[nodiscard]] QStringList splitCommaText(QStringView text);

// "x, y, width, height" in picture pixels, limited by the picture's size
// `maxX` x `maxY`: left = min(x, maxX), top = min(y, maxY), right =
// min(x + width, maxX), bottom = min(y + height, maxY). An edge whose numbers
// cannot be read falls back alone: left and top to 0, right to left, bottom to
// top.
//
// Unlike the plain min() rules, every edge is also kept at or above the
// negative picture size, and right and bottom never lie before left and top.
// Without that a skin could ask for pieces of -2147483648 pixels, or sums that
// overflow, and the composition would size bitmaps from them.
[[nodiscard]] SkinRect parseRect(QStringView text, std::int32_t maxX, std::int32_t maxY);
// "x, y": x = min(x, maxX), y = min(y, maxY), each kept at or above the negative
// picture size; a number that cannot be read gives 0.
[[nodiscard]] SkinPoint parsePoint(QStringView text, std::int32_t maxX, std::int32_t maxY);

// Colour text: six hexadecimal digits red, green, blue ("ff00ff" is magenta);
// characters after the sixth are ignored. Anything else is not a colour.
[[nodiscard]] std::optional<SkinColor> parseColor(QStringView text);
// A skin colour as a pixel with the given alpha.
[[nodiscard]] QRgb colorToRgb(SkinColor color, int alpha = 255);

// The twenty skin controls, in the order of their keys, which is also the
// order their layers are stacked in. Append only: that order is visible.
enum class SkinControl : int {
    Close,
    ColorBase,
    Menu,
    Flip,
    FlipMinus,
    Angle,
    AngleMinus,
    Left,
    Right,
    In,
    Out,
    MoveLeft,
    MoveUp,
    MoveRight,
    MoveDown,
    Radius,
    Circumference,
    Area,
    Diameter,
    AngleReading, // the measure type "angle"; Angle is the turning button
};
inline constexpr int kControlCount = 20;
// The key of each control in the skin file, in SkinControl order.
inline constexpr std::array<const char16_t*, kControlCount> kControlKeys = {
    u"CloseRect",  u"ColorBaseRect",     u"MenuRect",   u"FlipRect",      u"FlipMinusRect",
    u"AngleRect",  u"AngleMinusRect",    u"LeftRect",   u"RightRect",     u"InRect",
    u"OutRect",    u"MoveLeftRect",      u"MoveUpRect", u"MoveRightRect", u"MoveDownRect",
    u"RadiusRect", u"CircumferenceRect", u"AreaRect",   u"DiameterRect",  u"AngleReadingRect"};

// One control (or the readout area) in its four states, with what it hangs on.
class ControlRects {
public:
    enum State : int { Placement = 0, Pressed = 1, Hover = 2, Normal = 3 };

    // Parses `text` into the rectangle of `state` (clamped into 0..3), limited by
    // the picture's size. For the placement state it also reads the fifth item,
    // compared as text: "1" the sliding part, "2" the base panel, "3" the slide
    // panel; anything else (also "01", or nothing) the base part.
    void setFromText(int state, QStringView text, std::int32_t maxX, std::int32_t maxY);
    // The rectangle of `state` (clamped into 0..3). An unset pressed look falls
    // back to the hover look, an unset hover look to the normal look, an unset
    // normal look to the placement; the placement never falls back.
    [[nodiscard]] SkinRect rect(int state) const;

    std::array<SkinRect, 4> rects{};
    bool onBase = true;   // placement 0 or 2
    bool onPanel = false; // placement 2 or 3
};

class Skin {
public:
    // Loads the definition at `path` (a file or a ":/" resource) and reads its
    // picture once for its size. Shows nothing: a picture that cannot be read
    // leaves pictureError set and the size 0 x 0, so every rectangle is 0.
    // Throws OrvantaError only when the file exists but cannot be read.
    explicit Skin(const QString& path);

    // Loads as above and tells the user what is wrong: the version message when
    // the skin is for a newer program, the unrecoverable-problem message when
    // its picture cannot be read. The skin is returned in both cases; callers
    // decide whether a skin without a picture is used.
    [[nodiscard]] static std::unique_ptr<Skin> create(const QString& path, MessageSink& messages);

    // Colour text to colour, red in the low byte. Never throws: text that is not
    // a colour gives black. Loading already replaced such texts by defaults.
    [[nodiscard]] static SkinColor hexToColor(QStringView text);
    [[nodiscard]] SkinColor transColor() const { return hexToColor(transColorText); }
    [[nodiscard]] SkinColor bleedColor() const { return hexToColor(bleedColorText); }
    [[nodiscard]] SkinColor buttonBleedColor() const { return hexToColor(buttonBleedColorText); }
    [[nodiscard]] SkinColor fontColor() const { return hexToColor(fontColorText); }
    [[nodiscard]] SkinColor fontColorBack() const { return hexToColor(fontColorBackText); }
    // The current circle colour. Puts baseColorIndex back to 0 when it is out
    // of range; black when the list is empty (loading never leaves it empty).
    [[nodiscard]] SkinColor baseColor();
    void nextBaseColor();

    [[nodiscard]] const ControlRects& control(SkinControl c) const {
        return controls[static_cast<std::size_t>(c)];
    }
    [[nodiscard]] bool pictureReadable() const { return pictureError.isEmpty(); }
    // The texts shown by Create.
    [[nodiscard]] QString versionMessage() const;
    [[nodiscard]] QString unrecoverableMessage() const;

    QString fileName;
    // In the language spoken when the skin was loaded; the texts below follow
    // a later change of language.
    QString name;
    QString author;
    QString description;
    SkinText nameText;
    SkinText authorText;
    SkinText descriptionText;
    QString contact;
    QString webSite;
    std::int32_t version = 1;
    std::int32_t compassVersion = kSkinFormatVersion;

    QString transColorText;
    QString bleedColorText;
    QString buttonBleedColorText;
    QStringList baseColors;
    std::int32_t baseColorIndex = 0;

    QString fontFace;
    std::int32_t fontSize = 12;
    bool fontBold = false;
    bool fontItalic = false;
    QString fontColorText;
    QString fontColorBackText;

    QString image;
    bool imageIsPng = false;

    SkinRect baseRect;
    SkinRect slideRect;
    SkinRect barRect;
    std::int32_t baseEdge = 0;
    std::int32_t slideEdge = 0;
    SkinRect basePanelRect;
    SkinPoint basePanelCenter;
    SkinPoint basePanelAnchor;
    SkinRect slidePanelRect;
    SkinPoint slidePanelCenter;
    SkinPoint slidePanelAnchor;

    ControlRects sizeRect;
    std::array<ControlRects, kControlCount> controls{};

    std::int32_t imageHeight = 0;
    std::int32_t imageWidth = 0;
    // Why the picture cannot be used, in English and in the user's language,
    // naming the definition file and the picture as the definition writes it
    // ("/skins/wood/wood.ini: the picture \"leg.png\" is missing"); empty when
    // it was read.
    QString pictureError;
    QString pictureUserError;
};

// The message for a skin made for a newer program.
[[nodiscard]] QString newerSkinMessage(const QString& name, std::int32_t version);
// The message for a skin whose picture cannot be read; `problem`, when given,
// follows as a paragraph of its own.
[[nodiscard]] QString unrecoverableSkinMessage(const QString& name, const QString& problem = {});

} // namespace orvanta
