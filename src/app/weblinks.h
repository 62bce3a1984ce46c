// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Everything the program opens outside itself: the product's web pages (more
// skins, calibration help) and the mail and web addresses of skin
// authors. The opening goes through Shell (platform/shell.h) so that tests see
// the exact address.

#include <QChar>
#include <QString>
#include <optional>

namespace orvanta {

class KeyValueStore;
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

} // namespace orvanta
