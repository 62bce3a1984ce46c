// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Animated cursors: any bytes either parse into a cursor that can be built and
// stepped through (every step naming a frame that exists, every hotspot inside
// its frame) or fail with a message.
#include "fuzzsupport.h"
#include "model/numbers.h"
#include "platform/anicursor.h"

using namespace orvanta;
using namespace orvanta::fuzz;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AniCursorData cursor;
    try {
        cursor = parseAni(bytesOf(data, size));
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
        return 0;
    }
    check(!cursor.frames.empty() && !cursor.steps.empty(), "a parsed cursor has frames and steps");
    for (const AniFrame& frame : cursor.frames) {
        check(!frame.image.isNull(), "every frame has a picture");
        check(frame.image.rect().contains(frame.hotspot), "hotspot inside its frame");
    }
    for (const AniStep& step : cursor.steps) {
        check(step.frame >= 0 && std::size_t(step.frame) < cursor.frames.size(),
              "steps name existing frames");
        check(step.durationMs > 0, "steps last");
    }
    // What the program does with it: one QCursor per frame, stepped through.
    AnimatedCursor animated(cursor);
    for (int i = 0; i <= animated.stepCount(); ++i)
        animated.advance();
    (void)animated.current();
    return 0;
}
