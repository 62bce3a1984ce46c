// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A shell that opens and starts nothing: it keeps the addresses and programs it
// was handed, and a program "starts" only when the test says it does.

#include "platform/shell.h"

#include <QStringList>

namespace orvanta::fakes {

class RecordingShell final : public Shell {
public:
    bool openUrl(const QString& url) override {
        opened << url;
        return openSucceeds;
    }
    bool startProgram(const QString& path) override {
        started << path;
        return startSucceeds;
    }

    QStringList opened;
    QStringList started;
    bool startSucceeds = true;
    bool openSucceeds = true;
};

} // namespace orvanta::fakes
