// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/cursortable.h"

#include "model/numbers.h"
#include "platform/logging.h"

#include <QDir>
#include <QGuiApplication>

namespace orvanta {

namespace {

// The files of the numbered cursors; stored skins and the window logic rely on
// the numbering, so append only.
constexpr std::array<const char*, CursorTable::kCount> kCursorFiles = {
    "img/hand.ani",        "img/grab.ani",       "img/pointer.ani",      "img/down.ani",
    "img/handExtend.ani",  "img/grabExtend.ani", "img/handRotate.ani",   "img/grabRotate.ani",
    "img/handMove.ani",    "img/grabMove.ani",   "img/handRelative.ani", "img/grabRelative.ani",
    "img/pointerPlus.ani", "img/downPlus.ani"};

bool overrideIsOnTop(const QCursor& ours) {
    const QCursor* top = QGuiApplication::overrideCursor();
    return top && *top == ours;
}

} // namespace

CursorTable::CursorTable(const QString& programFolder, QObject* parent) : QObject(parent) {
    const QDir folder(programFolder);
    for (int number = 1; number <= kCount; ++number) {
        Slot& s = m_slots[number - 1];
        try {
            s.animation =
                std::make_unique<AnimatedCursor>(loadAniFile(folder.filePath(fileName(number))));
        } catch (const OrvantaError& e) {
            // The arrow stands in for it, which the user may not even notice.
            s.error = e.message();
            qCWarning(lcPlatform).noquote() << s.error;
            continue;
        }
        connect(s.animation.get(), &AnimatedCursor::changed, this,
                [this, number](const QCursor& c) { showFrame(number, c); });
    }
}

CursorTable::~CursorTable() {
    restoreOverride();
}

QString CursorTable::fileName(int number) {
    if (number < 1 || number > kCount)
        return {};
    return QString::fromLatin1(kCursorFiles[number - 1]);
}

CursorTable::Slot* CursorTable::slot(int number) {
    return number < 1 || number > kCount ? nullptr : &m_slots[number - 1];
}

const CursorTable::Slot* CursorTable::slot(int number) const {
    return number < 1 || number > kCount ? nullptr : &m_slots[number - 1];
}

bool CursorTable::isLoaded(int number) const {
    const Slot* s = slot(number);
    return s && s->animation;
}

QString CursorTable::loadError(int number) const {
    const Slot* s = slot(number);
    return s ? s->error : QStringLiteral("There is no cursor number %1.").arg(number);
}

QCursor CursorTable::cursor(int number) const {
    const Slot* s = slot(number);
    return s && s->animation ? s->animation->current() : QCursor(Qt::ArrowCursor);
}

int CursorTable::numberOf(const QWidget* widget) const {
    for (int number = 1; number <= kCount; ++number)
        for (const QPointer<QWidget>& w : m_slots[number - 1].widgets)
            if (w == widget)
                return number;
    return 0;
}

bool CursorTable::isAnimating(int number) const {
    const Slot* s = slot(number);
    return s && s->animation && s->animation->isRunning();
}

void CursorTable::apply(QWidget* widget, int number) {
    if (!widget)
        return;
    detach(widget);
    // The same cursor again would still cost an X request, on every mouse move.
    if (const QCursor shown = cursor(number); widget->cursor() != shown)
        widget->setCursor(shown);
    if (Slot* s = slot(number)) {
        s->widgets.append(widget);
        updateRunning(*s, number);
    }
}

void CursorTable::applyOverride(int number) {
    const QCursor shown = cursor(number);
    if (!m_overrideSet) {
        QGuiApplication::setOverrideCursor(shown);
        m_overrideShown = shown;
    } else if (overrideIsOnTop(m_overrideShown)) {
        QGuiApplication::changeOverrideCursor(shown);
        m_overrideShown = shown;
    }
    // Otherwise someone else's override lies above ours: it stays on top, and
    // ours takes the new look at its next frame after the other one is gone.
    const int previous = overrideNumber();
    m_overrideSet = true;
    m_overrideNumber = number;
    if (Slot* s = slot(previous))
        updateRunning(*s, previous);
    if (Slot* s = slot(number))
        updateRunning(*s, number);
}

void CursorTable::restoreOverride() {
    if (!m_overrideSet)
        return;
    // The override cursors are one stack for the whole application: only ours
    // may be taken off, never one pushed after it.
    if (overrideIsOnTop(m_overrideShown))
        QGuiApplication::restoreOverrideCursor();
    const int previous = m_overrideNumber;
    m_overrideSet = false;
    m_overrideNumber = 0;
    if (Slot* s = slot(previous))
        updateRunning(*s, previous);
}

void CursorTable::detach(QWidget* widget) {
    for (int number = 1; number <= kCount; ++number) {
        Slot& s = m_slots[number - 1];
        if (s.widgets.removeAll(widget) > 0)
            updateRunning(s, number);
    }
}

void CursorTable::updateRunning(Slot& s, int number) {
    s.widgets.removeAll(QPointer<QWidget>());
    if (!s.animation)
        return;
    if (s.widgets.isEmpty() && overrideNumber() != number)
        s.animation->stop();
    else
        s.animation->start();
}

void CursorTable::showFrame(int number, const QCursor& cursor) {
    Slot& s = m_slots[number - 1];
    for (const QPointer<QWidget>& w : std::as_const(s.widgets))
        if (w)
            w->setCursor(cursor);
    if (overrideNumber() == number && overrideIsOnTop(m_overrideShown)) {
        QGuiApplication::changeOverrideCursor(cursor);
        m_overrideShown = cursor;
    }
    updateRunning(s, number);
}

} // namespace orvanta
