// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the program opens outside itself goes through Shell, so that tests see
// the exact address and the program that was started instead of a browser.

#include <QString>

namespace orvanta {

class MessageSink;

class Shell {
public:
    virtual ~Shell() = default;
    // Hands an address (http:, mailto:, file:) to the desktop's handler;
    // false when none took it.
    virtual bool openUrl(const QString& url) = 0;
    // Starts a program without waiting for it; false when it could not start.
    virtual bool startProgram(const QString& path) = 0;
};

// QDesktopServices for addresses, a detached QProcess for programs.
class DesktopShell : public Shell {
public:
    bool openUrl(const QString& url) override;
    bool startProgram(const QString& path) override;
};

// A shell that shows an address no handler took in a box the user can copy it
// from (a desktop without a browser), so a link is never a click that does
// nothing.
class LinkReportingShell final : public Shell {
public:
    LinkReportingShell(Shell& shell, MessageSink& messages)
        : m_shell(shell), m_messages(messages) {}
    bool openUrl(const QString& url) override;
    bool startProgram(const QString& path) override { return m_shell.startProgram(path); }

    // The box's text for `url`.
    [[nodiscard]] static QString notOpenedText(const QString& url);

private:
    Shell& m_shell;
    MessageSink& m_messages;
};

} // namespace orvanta
