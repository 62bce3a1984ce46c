// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The program's entry point: the command line, skin packages, the splash, the
// compass window and the event loop, in that order.

#include <QStringList>

namespace orvanta {

// Runs the whole program and returns the process's exit status.
int runOrvanta(int argc, char** argv);

} // namespace orvanta
