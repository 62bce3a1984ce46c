// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A message sink that keeps every message instead of showing a box, so a test
// can check the exact texts and that nothing else was shown.

#include "model/messages.h"

#include <QStringList>

namespace orvanta::fakes {

class RecordingSink final : public MessageSink {
public:
    void showMessage(const QString& text) override { shown << text; }
    QStringList shown;
};

} // namespace orvanta::fakes
