// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the program opens outside itself goes through Shell, so that tests see
// the exact address and the program that was started instead of a browser.

#include <QString>

namespace orvanta {

class Shell {
public:
    virtual ~Shell() = default;
    // Hands an address (http:, mailto:, file:) to the desktop's handler.
    virtual void openUrl(const QString& url) = 0;
    // Starts a program without waiting for it; false when it could not start.
    virtual bool startProgram(const QString& path) = 0;
};

// QDesktopServices for addresses, a detached QProcess for programs.
class DesktopShell : public Shell {
public:
    void openUrl(const QString& url) override;
    bool startProgram(const QString& path) override;
};

} // namespace orvanta
