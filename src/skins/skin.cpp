// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "skins/skin.h"

#include "model/inidocument.h"
#include "model/numbers.h"
#include "skins/picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

namespace orvanta {

namespace {

// Windows reads a profile value into a buffer of 2048 characters, the last one
// being the terminator; skins were written against that limit.
constexpr qsizetype kMaxValueLength = 2047;

constexpr QStringView kGeneral = u"一般";
constexpr QStringView kMain = u"Main";
constexpr QStringView kHorizontal = u"Horizontal";
constexpr QStringView kControlsDown = u"HorizontalControlsDown";
constexpr QStringView kControlsOver = u"HorizontalControlsOver";
constexpr QStringView kControlsNormal = u"HorizontalControls";

const QString kDefaultBaseColors = QStringLiteral("ff0000, 00ff00, 0000ff, 000000, ffffff");
const QString kNoControl = QStringLiteral("0, 0, 0, 0, 0");
const QString kNoRect = QStringLiteral("0, 0, 0, 0");

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return 10 + (u - u'a');
    if (u >= u'A' && u <= u'F')
        return 10 + (u - u'A');
    return -1;
}

bool isBlank(QChar c) {
    return c.unicode() <= u' ';
}

// A coordinate limited from above by the picture's size, as skins expect, and
// from below by its negative, so that no later sum or difference overflows.
std::int32_t limit(std::int64_t value, std::int32_t size) {
    const std::int64_t bound = std::max<std::int64_t>(size, 0);
    return static_cast<std::int32_t>(std::clamp(value, -bound, bound));
}

std::optional<std::int64_t> numberAt(const QStringList& items, qsizetype index) {
    if (index < items.size())
        if (const auto v = parseInt(items[index]))
            return *v;
    return std::nullopt;
}

// A definition file read with the profile-file rules.
class ProfileReader {
public:
    explicit ProfileReader(IniDocument doc) : m_doc(std::move(doc)) {}

    [[nodiscard]] QString text(QStringView section, QStringView key,
                               const QString& fallback) const {
        return m_doc.value(section, key).value_or(fallback).left(kMaxValueLength);
    }
    [[nodiscard]] std::int32_t integer(QStringView section, QStringView key,
                                       std::int32_t fallback) const {
        const auto value = m_doc.value(section, key);
        if (!value)
            return fallback;
        return parseInt(QStringView(*value).left(kMaxValueLength)).value_or(fallback);
    }
    // The text under `ownKey` in the about section, with every
    // "<translatedKey>[<language>]" beside it.
    [[nodiscard]] SkinText skinText(QStringView ownKey, QStringView translatedKey,
                                    const QString& fallback) const {
        SkinText t{text(kGeneral, ownKey, fallback), {}};
        const QString prefix = translatedKey.toString() + u'[';
        for (const QString& key : m_doc.keys(kGeneral.toString())) {
            if (!key.startsWith(prefix, Qt::CaseInsensitive) || !key.endsWith(u']'))
                continue;
            const QString language =
                key.mid(prefix.size(), key.size() - prefix.size() - 1).trimmed();
            const QString value = text(kGeneral, key, {});
            if (!language.isEmpty() && !value.isEmpty())
                t.translations.append({language, value});
        }
        return t;
    }
    [[nodiscard]] bool boolean(QStringView section, QStringView key, bool fallback) const {
        return integer(section, key, fallback ? 1 : 0) != 0;
    }
    // A colour text that is not a colour gives the default, like any other
    // unreadable value, instead of failing later while the compass is drawn.
    [[nodiscard]] QString color(QStringView section, QStringView key,
                                const QString& fallback) const {
        const QString value = text(section, key, fallback);
        return parseColor(value) ? value : fallback;
    }

private:
    IniDocument m_doc;
};

// Items that are not colours are left out. A list left empty (an empty value,
// or nothing but mistakes) gives the default list, so that stepping through
// the circle colours still does something.
QStringList readColorList(const QString& text) {
    QStringList colors;
    for (const QString& item : splitCommaText(text))
        if (parseColor(item))
            colors << item;
    return colors.isEmpty() ? splitCommaText(kDefaultBaseColors) : colors;
}

// Windows fonts read a negative height as the character height without the
// cell's leading; its magnitude is the nearest size we can offer.
std::int32_t readableFontSize(std::int32_t size) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::abs(std::int64_t(size)), kMinFontSize, kMaxFontSize));
}

// Skins are made on Windows: their picture names may differ in letter case
// from the file. Each part of the name is looked up as written and, failing
// that, without regard to case.
QString resolveEachPart(const QString& folder, const QStringList& parts) {
    QString path = folder;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QString next = path + part;
        if (!part.isEmpty() && part != u"." && part != u".." && !QFileInfo::exists(next)) {
            const QStringList entries = QDir(path).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            const auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& e) {
                return e.compare(part, Qt::CaseInsensitive) == 0;
            });
            if (match != entries.end())
                next = path + *match;
        }
        path = next;
        if (i + 1 < parts.size())
            path += u'/';
    }
    return path;
}

// Picture names use backslashes, as on Windows. A package installs flattened,
// so a picture named inside a subfolder that is not there is also looked for
// beside the definition.
QString resolvePicturePath(const QString& folder, QString relative) {
    relative.replace(u'\\', u'/');
    const QStringList parts = relative.split(u'/');
    const QString path = resolveEachPart(folder, parts);
    if (parts.size() < 2 || QFileInfo::exists(path))
        return path;
    const QString beside = resolveEachPart(folder, {parts.last()});
    return QFileInfo(beside).isFile() ? beside : path;
}

} // namespace

QStringList splitCommaText(QStringView text) {
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && isBlank(text[i]))
        ++i;
    while (i < n) {
        QString item;
        if (text[i] == u'"') {
            for (++i; i < n; ++i) {
                if (text[i] != u'"') {
                    item += text[i];
                } else if (i + 1 < n && text[i + 1] == u'"') {
                    item += u'"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(text[i]) && text[i] != u',')
                ++i;
            item = text.sliced(start, i - start).toString();
        }
        items << item;
        while (i < n && isBlank(text[i]))
            ++i;
        if (i < n && text[i] == u',') {
            if (i + 1 == n)
                items << QString(); // "a," ends with an empty item, "a, " does not
            do
                ++i;
            while (i < n && isBlank(text[i]));
        }
    }
    return items;
}

QString SkinText::in(QStringView language) const {
    const auto find = [this](QStringView tag) -> const QString* {
        for (const auto& [t, text] : translations)
            if (QStringView(t).compare(tag, Qt::CaseInsensitive) == 0)
                return &text;
        return nullptr;
    };
    // "zh-CN" and "zh_CN" name the same language.
    const QString tag = language.toString().replace(u'-', u'_');
    if (const QString* exact = find(tag))
        return *exact;
    const qsizetype cut = tag.indexOf(u'_');
    if (cut > 0)
        if (const QString* general = find(QStringView(tag).left(cut)))
            return *general;
    return own;
}

QString SkinText::shown() const {
    return in(skinTextLanguage());
}

QString skinTextLanguage() {
    //: The language tag of this catalogue ("zh_CN"): a skin's name, author and
    //: description are shown in it when the skin carries them so.
    return QCoreApplication::translate("Skin", "en");
}

SkinRect parseRect(QStringView text, std::int32_t maxX, std::int32_t maxY) {
    const QStringList items = splitCommaText(text);
    const auto x = numberAt(items, 0);
    const auto y = numberAt(items, 1);
    const auto w = numberAt(items, 2);
    const auto h = numberAt(items, 3);
    SkinRect r;
    r.left = x ? limit(*x, maxX) : 0;
    r.top = y ? limit(*y, maxY) : 0;
    r.right = x && w ? std::max(limit(*x + *w, maxX), r.left) : r.left;
    r.bottom = y && h ? std::max(limit(*y + *h, maxY), r.top) : r.top;
    return r;
}

SkinPoint parsePoint(QStringView text, std::int32_t maxX, std::int32_t maxY) {
    const QStringList items = splitCommaText(text);
    const auto x = numberAt(items, 0);
    const auto y = numberAt(items, 1);
    return SkinPoint{x ? limit(*x, maxX) : 0, y ? limit(*y, maxY) : 0};
}

std::optional<SkinColor> parseColor(QStringView text) {
    constexpr qsizetype kDigits = 6;
    if (text.size() < kDigits)
        return std::nullopt;
    SkinColor rgb = 0;
    for (qsizetype i = 0; i < kDigits; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | SkinColor(digit);
    }
    // The text reads red, green, blue; the colour holds red in the low byte.
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

QRgb colorToRgb(SkinColor color, int alpha) {
    return qRgba(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF), alpha);
}

void ControlRects::setFromText(int state, QStringView text, std::int32_t maxX, std::int32_t maxY) {
    state = std::clamp(state, 0, 3);
    rects[std::size_t(state)] = parseRect(text, maxX, maxY);
    if (state != Placement)
        return;
    const QStringList items = splitCommaText(text);
    const QString placement = items.size() > 4 ? items[4] : QString();
    onBase = placement != u"1" && placement != u"3";
    onPanel = placement == u"2" || placement == u"3";
}

SkinRect ControlRects::rect(int state) const {
    state = std::clamp(state, 0, 3);
    while (state != Placement && rects[std::size_t(state)].isUnset())
        state = state == Normal ? Placement : state + 1;
    return rects[std::size_t(state)];
}

Skin::Skin(const QString& path) : fileName(path) {
    const ProfileReader ini(IniDocument::load(path));

    // What stands in for a missing name or author is shown, not stored: it
    // follows the user's language.
    nameText = ini.skinText(u"名称", u"Name", QCoreApplication::translate("Skin", "Unnamed"));
    authorText = ini.skinText(u"作者", u"Author", QCoreApplication::translate("Skin", "Unknown"));
    descriptionText = ini.skinText(u"描述", u"Description", {});
    name = nameText.shown();
    author = authorText.shown();
    description = descriptionText.shown();
    contact = ini.text(kGeneral, u"联系", {});
    webSite = ini.text(kGeneral, u"网站", {});
    version = ini.integer(kGeneral, u"版本", 1);
    compassVersion = ini.integer(kGeneral, u"CompassVersion", kSkinFormatVersion);

    transColorText = ini.color(kMain, u"TransColor", QStringLiteral("ff00ff"));
    bleedColorText = ini.color(kMain, u"BleedColor", QStringLiteral("7f7f7f"));
    buttonBleedColorText = ini.color(kMain, u"ButtonBleedColor", bleedColorText);
    baseColors = readColorList(ini.text(kMain, u"BaseColors", kDefaultBaseColors));
    baseColorIndex = 0;

    fontFace = ini.text(kMain, u"FontFace", QStringLiteral("Arial"));
    fontSize = readableFontSize(ini.integer(kMain, u"FontSize", 12));
    fontBold = ini.boolean(kMain, u"FontBold", false);
    fontItalic = ini.boolean(kMain, u"FontItalic", false);
    fontColorText = ini.color(kMain, u"FontColor", QStringLiteral("000000"));
    fontColorBackText = ini.color(kMain, u"FontColorBack", QStringLiteral("7f7f7f"));

    const QString imageText = ini.text(kHorizontal, u"Image", {});
    image = resolvePicturePath(QFileInfo(path).path() + u'/', imageText);
    imageIsPng = isPngPath(image);
    try {
        if (!QFileInfo::exists(path))
            throw translatableError(QT_TRANSLATE_NOOP("Errors", "the file does not exist"));
        if (imageText.trimmed().isEmpty())
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors", "it names no picture (\"Image\" in [Horizontal])"));
        if (!QFileInfo::exists(image))
            throw translatableError(QT_TRANSLATE_NOOP("Errors", "the picture \"%1\" is missing"),
                                    {imageText});
        const QImage picture = loadPicture(image);
        imageWidth = picture.width();
        imageHeight = picture.height();
    } catch (const OrvantaError& e) {
        const OrvantaError problem =
            translatableError(QT_TRANSLATE_NOOP("Errors", "%1: %2"), {path}, e);
        pictureError = problem.message();
        pictureUserError = problem.userMessage();
    }

    // Everything below is limited by the picture's size, so it comes after it.
    const std::int32_t w = imageWidth;
    const std::int32_t h = imageHeight;
    const QString whole = QStringLiteral("0, 0, %1, %2").arg(w).arg(h);
    const auto rect = [&](QStringView key, const QString& fallback) {
        return parseRect(ini.text(kHorizontal, key, fallback), w, h);
    };
    const auto point = [&](QStringView key) {
        return parsePoint(ini.text(kHorizontal, key, QStringLiteral("0, 0")), w, h);
    };
    baseRect = rect(u"BaseRect", whole);
    baseEdge = limit(ini.integer(kHorizontal, u"BaseEdge", 0), w);
    slideRect = rect(u"SlideRect", whole);
    slideEdge = limit(ini.integer(kHorizontal, u"SlideEdge", 0), w);
    barRect = rect(u"BarRect", kNoRect);
    basePanelRect = rect(u"BasePanelRect", kNoRect);
    basePanelCenter = point(u"BasePanelCenter");
    basePanelAnchor = point(u"BasePanelAnchor");
    slidePanelRect = rect(u"SlidePanelRect", kNoRect);
    slidePanelCenter = point(u"SlidePanelCenter");
    slidePanelAnchor = point(u"SlidePanelAnchor");

    sizeRect.setFromText(ControlRects::Placement, ini.text(kHorizontal, u"SizeRect", kNoControl), w,
                         h);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const QStringView key = kControlKeys[i];
        ControlRects& c = controls[i];
        c.setFromText(ControlRects::Placement, ini.text(kHorizontal, key, kNoControl), w, h);
        c.setFromText(ControlRects::Pressed, ini.text(kControlsDown, key, kNoRect), w, h);
        c.setFromText(ControlRects::Hover, ini.text(kControlsOver, key, kNoRect), w, h);
        c.setFromText(ControlRects::Normal, ini.text(kControlsNormal, key, kNoRect), w, h);
    }
}

std::unique_ptr<Skin> Skin::create(const QString& path, MessageSink& messages) {
    auto skin = std::make_unique<Skin>(path);
    if (skin->compassVersion > kSkinFormatVersion)
        messages.showMessage(skin->versionMessage());
    if (!skin->pictureReadable())
        messages.showMessage(skin->unrecoverableMessage());
    return skin;
}

SkinColor Skin::hexToColor(QStringView text) {
    return parseColor(text).value_or(0);
}

SkinColor Skin::baseColor() {
    if (baseColors.isEmpty())
        return 0;
    // A negative index (a hand-edited options file) is out of range too.
    if (baseColorIndex < 0 || baseColorIndex >= baseColors.size())
        baseColorIndex = 0;
    return hexToColor(baseColors[baseColorIndex]);
}

void Skin::nextBaseColor() {
    // Compared before adding, so that an index at the int32 limit cannot overflow.
    if (baseColorIndex < 0 || baseColorIndex >= baseColors.size() - 1)
        baseColorIndex = 0;
    else
        ++baseColorIndex;
}

QString Skin::versionMessage() const {
    return newerSkinMessage(name, compassVersion);
}

QString Skin::unrecoverableMessage() const {
    return unrecoverableSkinMessage(name, pictureUserError);
}

// Two paragraphs, as the message boxes have always shown them.
QString newerSkinMessage(const QString& name, std::int32_t version) {
    const QString n = QString::number(version);
    return QCoreApplication::translate("Skin", "This skin \"%1\" was made for compass version %2.")
               .arg(name, n) +
           QStringLiteral("\r\n\r\n") +
           QCoreApplication::translate("Skin", "Delete this skin or get compass version %1 from %2")
               .arg(n, QStringLiteral("https://" ORVANTA_WEB_HOST));
}

QString unrecoverableSkinMessage(const QString& name, const QString& problem) {
    const QString message =
        QCoreApplication::translate("Skin", "The skin \"%1\" has a problem it cannot recover from.")
            .arg(name) +
        QStringLiteral("\r\n\r\n") +
        QCoreApplication::translate("Skin", "Please delete this skin to fix this error.");
    // Whoever repairs or deletes it needs to know which file and what is wrong.
    return problem.isEmpty() ? message : message + QStringLiteral("\r\n\r\n") + problem;
}

} // namespace orvanta
