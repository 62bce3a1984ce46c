// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the dialogs share: the pointer and pressed-pointer cursors over their
// buttons and links, the white bevelled panel with the compass icon and the
// heading, and the decorative pictures, drawn here so that their source is
// this code.

#include <QObject>
#include <QPixmap>
#include <QString>

class QBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace orvanta {

class CursorSource;

// Shows cursor 3 while the mouse is over a watched widget and cursor 4 while
// a button is held on it. The widget's own cursor applies elsewhere.
class PointerFeedback : public QObject {
public:
    // `cursors` may be null: then nothing changes.
    PointerFeedback(CursorSource* cursors, QObject* parent);
    void watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CursorSource* m_cursors;
};

inline constexpr int kPointerCursor = 3;
inline constexpr int kPressedPointerCursor = 4;

// The program's compass drawn as an icon of `size` pixels.
[[nodiscard]] QPixmap compassIconPicture(int size);
// A drafting scene (a compass over a ruled sheet with an arc) of `size`.
[[nodiscard]] QPixmap decorationPicture(QSize size);

// A label in the link style: blue, underlined, a hand cursor.
void makeLinkLabel(QLabel* label);

// The white panel with a raised inner and lowered outer bevel that the small
// dialogs share, laid out by Qt's layouts so that any language and font size
// fits: the icon and the heading at the top left, the decorative picture
// of `pictureSize` at the top right, `beside` under the heading and left of the
// picture, and `below` under both across the panel. Its parent lays it out.
struct HeadingPanel {
    QWidget* panel;
    QLabel* heading;
    QVBoxLayout* beside;
    QVBoxLayout* below;
};
[[nodiscard]] HeadingPanel makeHeadingPanel(QWidget* parent, int iconSize, QSize pictureSize);
// Sets the heading's text; the dialog sets it again when the language changes.
void setHeading(QLabel* heading, const QString& text);

// Keeps the dialog that `layout` lays out at least as wide as its title bar
// needs for the title, in any language: window managers cut a title that does
// not fit ("Change t… Orvanta"). Call it once the layout is the dialog's.
void keepTitleWhole(QBoxLayout* layout);

// Ends `layout` with OK and Cancel side by side in the middle, and lets the
// dialog take the size its texts need (its title too), in any language and
// font.
void finishWithButtons(QVBoxLayout* layout, QPushButton* ok, QPushButton* cancel);

// The texts of the buttons every dialog has, in the user's language.
[[nodiscard]] QString okText();
[[nodiscard]] QString cancelText();

// The window flags of those dialogs: a fixed frame with only a close box.
inline constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

} // namespace orvanta
