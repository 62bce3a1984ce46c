// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/startup.h"

int main(int argc, char* argv[]) {
    return orvanta::runOrvanta(argc, argv);
}
