// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Starts as the program does, in the language the environment asks for, and
// prints the captions of the context menu: the tests run it under LANG,
// LANGUAGE and LC_ALL settings of their own, which a process reads only once.
//
//   orvanta_languageprobe   prints the top-level captions, one a line
#include "app/compassmenu.h"
#include "platform/languageswitcher.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    orvanta::LanguageSwitcher language;
    language.use(orvanta::LanguageChoice::Automatic);
    const orvanta::CompassMenu menu(nullptr);
    for (const QAction* a : menu.contextMenu->actions())
        if (!a->isSeparator())
            std::printf("%s\n", qPrintable(a->text()));
    return 0;
}
