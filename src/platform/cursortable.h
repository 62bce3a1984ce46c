// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The program's numbered cursors. The window logic and the dialogs refer to
// cursors by number (1 = hand ... 14 = pressed pointer with a modifier); this
// table loads them from the program folder and keeps the animation of each
// running exactly while it is shown somewhere.

#include "platform/anicursor.h"

#include <QCursor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>

namespace orvanta {

// What the window logic needs; tests of that logic give it a recording fake.
class CursorSource {
public:
    virtual ~CursorSource() = default;
    // Shows cursor `number` over `widget` until another number is applied to it.
    virtual void apply(QWidget* widget, int number) = 0;
    // Shows cursor `number` over the whole screen (the application's override
    // cursor), replacing an earlier override of ours.
    virtual void applyOverride(int number) = 0;
    // Takes our screen-wide cursor away again.
    virtual void restoreOverride() = 0;
};

class CursorTable : public QObject, public CursorSource {
    Q_OBJECT
public:
    static constexpr int kCount = 14;

    // Loads img/*.ani of `programFolder`. A file that is missing or damaged
    // leaves its number at the standard arrow; loadError() says why.
    explicit CursorTable(const QString& programFolder, QObject* parent = nullptr);
    ~CursorTable() override;

    // The file of a cursor number relative to the program folder ("img/hand.ani"),
    // empty outside 1..kCount.
    [[nodiscard]] static QString fileName(int number);

    [[nodiscard]] bool isLoaded(int number) const;
    [[nodiscard]] QString loadError(int number) const;
    // The cursor as it looks now (the arrow for numbers without one).
    [[nodiscard]] QCursor cursor(int number) const;
    // The number last applied to `widget` through this table, 0 if none.
    [[nodiscard]] int numberOf(const QWidget* widget) const;
    // The number of our screen-wide cursor, 0 while none is set.
    [[nodiscard]] int overrideNumber() const { return m_overrideSet ? m_overrideNumber : 0; }
    [[nodiscard]] bool isAnimating(int number) const;

    void apply(QWidget* widget, int number) override;
    void applyOverride(int number) override;
    void restoreOverride() override;

private:
    struct Slot {
        std::unique_ptr<AnimatedCursor> animation; // null: the arrow
        QString error;
        QList<QPointer<QWidget>> widgets;
    };

    [[nodiscard]] Slot* slot(int number);
    [[nodiscard]] const Slot* slot(int number) const;
    void detach(QWidget* widget);
    void updateRunning(Slot& s, int number);
    void showFrame(int number, const QCursor& cursor);

    std::array<Slot, kCount> m_slots;
    bool m_overrideSet = false;
    int m_overrideNumber = 0;
    QCursor m_overrideShown; // to recognise ours on top of the override stack
};

} // namespace orvanta
