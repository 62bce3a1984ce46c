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

class QLabel;
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

// The white panel with a raised inner and lowered outer bevel.
[[nodiscard]] QWidget* makeWhitePanel(QWidget* parent, const QRect& geometry);
// The heading in the panel's top-left: the compass icon and a bold title,
// whose text the dialog sets with setHeading().
[[nodiscard]] QLabel* addPanelHeading(QWidget* panel, int iconSize);
void setHeading(QLabel* heading, const QString& text);

// The frame every small dialog shares: fixed size, application-modal; the
// white panel at `panelRect` with the decorative picture at `pictureRect` and
// the heading. The dialog sets the caption and the heading's text, and sets
// them again when the language changes.
struct DialogFrame {
    QWidget* panel;
    QLabel* heading;
};
DialogFrame setUpDialogFrame(QWidget* dialog, QSize clientSize, const QRect& panelRect,
                             const QRect& pictureRect, int iconSize);

// The texts of the buttons every dialog has, in the user's language.
[[nodiscard]] QString okText();
[[nodiscard]] QString cancelText();

// The window flags of those dialogs: a fixed frame with only a close box.
inline constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

} // namespace orvanta
