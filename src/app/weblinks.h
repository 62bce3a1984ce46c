// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Everything the program opens outside itself: the product's web pages (more
// skins, calibration help), mail and web addresses of
// skin authors, and the companion magnifier program. The opening goes through
// Shell (platform/shell.h) so that tests see the exact address and the program
// that was started.

#include <QChar>
#include <QString>
#include <optional>

namespace orvanta {

class KeyValueStore;
class MessageSink;
class Shell;

// The page on the product's web host that every link goes through; the host
// is a build setting.
[[nodiscard]] QString webLinkEndpoint();

// The link for `action` (may be empty) from the product key's "Version",
// "appid" and "aid", or nothing when "Version" is missing or not a number.
// "Version" is read with "." (as the shipped file writes it) and with the
// regional `separator`.
[[nodiscard]] std::optional<QString> buildWebLink(const KeyValueStore& store, const QString& action,
                                                  QChar separator);

// Opens the link for `action`; without a usable "Version" nothing happens.
void openWebLink(const KeyValueStore& store, Shell& shell, const QString& action);

// Starts the magnifier named by its key's "InstalPath"; when it is not there
// or does not start, says that no magnifier is installed.
void launchMagnifier(const KeyValueStore& store, Shell& shell, MessageSink& messages);

// What the user is told when there is none.
[[nodiscard]] QString noMagnifierText();

} // namespace orvanta
