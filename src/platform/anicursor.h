// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Animated cursors from Windows ".ani" files: a RIFF "ACON" container whose
// frames are ICO/CUR images, shown in a sequence of steps with their own
// durations. Parsing is a pure function so that malformed files can be tested
// without a display; AnimatedCursor turns the result into QCursors once and
// steps through them while somebody shows it.

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <vector>

namespace orvanta {

struct AniFrame {
    QImage image;
    QPoint hotspot; // inside the image
};

struct AniStep {
    int frame = 0;      // index into AniCursorData::frames
    int durationMs = 0; // at least one jiffy (1/60 s)
};

struct AniCursorData {
    std::vector<AniFrame> frames;
    std::vector<AniStep> steps;
};

// Parses the bytes of an .ani file. Throws OrvantaError saying what is wrong
// (a chunk running past the end, a frame that is no icon, an index out of
// range, absurd counts) rather than returning a half-read cursor.
[[nodiscard]] AniCursorData parseAni(const QByteArray& bytes);

// Decodes one ICO/CUR image: the first image of its directory, with its
// hotspot (a CUR entry's bytes 4-7; the centre for an ICO). Throws
// OrvantaError when the data is no icon.
[[nodiscard]] AniFrame decodeCursorImage(const QByteArray& bytes);

// Reads and parses a file; errors name the file.
[[nodiscard]] AniCursorData loadAniFile(const QString& path);

// The cursors of one .ani file, built once. While running, a timer moves to
// the next step after the current step's duration and announces the new
// cursor; whoever applied it sets it where it belongs.
class AnimatedCursor : public QObject {
    Q_OBJECT
public:
    // `data` must hold at least one frame and one step (parseAni guarantees it).
    explicit AnimatedCursor(const AniCursorData& data, QObject* parent = nullptr);

    [[nodiscard]] const QCursor& current() const;
    [[nodiscard]] int stepIndex() const { return m_step; }
    [[nodiscard]] int stepCount() const { return static_cast<int>(m_steps.size()); }
    [[nodiscard]] bool isRunning() const { return m_running; }

    // Starting a cursor of one step does nothing: there is nothing to animate.
    void start();
    void stop();
    // Moves to the next step (wrapping) and emits changed(); the timer calls it.
    void advance();

Q_SIGNALS:
    void changed(const QCursor& cursor);

private:
    std::vector<QCursor> m_cursors; // one per frame
    std::vector<AniStep> m_steps;
    int m_step = 0;
    bool m_running = false;
    QTimer m_timer; // single-shot: each step has its own duration
};

} // namespace orvanta
