// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "skins/skincatalog.h"

#include "model/numbers.h"
#include "skins/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <exception>

// The built-in skin lives in this static library; its resources are registered
// by name before first use, outside any namespace as Qt requires.
static void registerFallbackSkin() {
    Q_INIT_RESOURCE(fallback);
}

namespace orvanta {

namespace {

bool byName(const QString& a, const QString& b) {
    const int byLetters = a.compare(b, Qt::CaseInsensitive);
    return byLetters != 0 ? byLetters < 0 : a < b;
}

void sortByName(QStringList& names) {
    std::sort(names.begin(), names.end(), byName);
}

// The name of a skin's folder, from its definition's path.
QString skinFolderName(const QString& definition) {
    return QFileInfo(QFileInfo(definition).path()).fileName();
}

// Names starting with a dot are left out: they are the package installer's
// half-written folders and editors' scratch files, never skins.
QStringList sortedEntries(const QDir& dir, QDir::Filters filters) {
    QStringList names = dir.entryList(filters | QDir::NoDotAndDotDot);
    sortByName(names);
    return names;
}

std::unique_ptr<Skin> loadFallback() {
    registerFallbackSkin();
    auto skin = std::make_unique<Skin>(fallbackSkinPath());
    if (!skin->pictureReadable())
        throw OrvantaError(QStringLiteral("The built-in skin is damaged: ") + skin->pictureError);
    return skin;
}

} // namespace

QString skinProblemMessage() {
    return QCoreApplication::translate("Skin", "There is a problem with one of the skins.");
}

QString fallbackSkinPath() {
    return QStringLiteral(":/skins/fallback/fallback.ini");
}

SkinCatalog::SkinCatalog(const QString& folder, const QString& defaultPath,
                         const QString& selectedPath, MessageSink& messages)
    : SkinCatalog(QStringList{folder}, defaultPath, selectedPath, messages) {}

SkinCatalog::SkinCatalog(const QStringList& folders, const QString& defaultPath,
                         const QString& selectedPath, MessageSink& messages)
    : folder(folders.value(0)), folders(folders), m_messages(&messages), m_requested(selectedPath) {
    // Entry 0 stands for the default skin even when that is broken: the menu
    // and the stored "skinPath" rely on it. The built-in skin then lends its name.
    const bool defaultBroken = !addSkin(defaultPath);
    if (defaultBroken) {
        const auto fallback = loadFallback();
        names << fallback->name;
        m_names << fallback->nameText;
        paths << defaultPath;
    }
    m_scanned = scanFolders(folders);
    for (const QString& path : std::as_const(m_scanned))
        addSkin(path);
    selectedIndex = 0;
    for (qsizetype i = 0; i < paths.size(); ++i)
        if (paths[i] == selectedPath)
            selectedIndex = std::int32_t(i);
    loadSelected(defaultBroken);
    qCDebug(lcSkins).noquote() << "Listed" << paths.size() << "skins from" << folders.join(u", ")
                               << "showing"
                               << (m_usesFallback ? fallbackSkinPath() : paths[selectedIndex]);
}

QStringList SkinCatalog::scanFolder(const QString& folder) {
    QStringList definitions;
    const QDir dir(folder);
    for (const QString& sub : sortedEntries(dir, QDir::Dirs)) {
        QStringList inis = sortedEntries(QDir(dir.filePath(sub)), QDir::Files);
        inis.removeIf([](const QString& name) {
            return !name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive);
        });
        if (!inis.isEmpty())
            definitions << folder + u'/' + sub + u'/' + inis.first();
    }
    return definitions;
}

QStringList SkinCatalog::scanFolders(const QStringList& folders) {
    QStringList definitions;
    QSet<QString> taken; // folder names already listed
    for (const QString& folder : folders) {
        for (const QString& definition : scanFolder(folder)) {
            const QString name = skinFolderName(definition);
            if (!taken.contains(name)) {
                taken.insert(name);
                definitions << definition;
            }
        }
    }
    if (folders.size() > 1)
        std::stable_sort(definitions.begin(), definitions.end(),
                         [](const QString& a, const QString& b) {
                             return byName(skinFolderName(a), skinFolderName(b));
                         });
    return definitions;
}

std::unique_ptr<Skin> SkinCatalog::tryLoad(const QString& path) {
    // The message boxes name the skin at best; the log keeps the file and why.
    const auto unusable = [&path](const QString& why) {
        qCWarning(lcSkins, "Cannot use the skin \"%s\": %s", qUtf8Printable(path),
                  qUtf8Printable(why));
        return nullptr;
    };
    try {
        auto skin = Skin::create(path, *m_messages);
        // Create has shown that it is broken; a skin without its picture
        // cannot be drawn.
        if (!skin->pictureReadable())
            return unusable(skin->pictureError);
        return skin;
    } catch (const OrvantaError& e) {
        m_messages->showMessage(skinProblemMessage() + QStringLiteral("\r\n\r\n") +
                                e.userMessage());
        return unusable(e.message());
    } catch (const std::exception& e) {
        m_messages->showMessage(skinProblemMessage());
        return unusable(QString::fromUtf8(e.what()));
    }
}

bool SkinCatalog::addSkin(const QString& path) {
    const auto skin = tryLoad(path);
    if (!skin) {
        m_requestReported |= path == m_requested;
        return false;
    }
    names << skin->name;
    m_names << skin->nameText;
    paths << path;
    return true;
}

void SkinCatalog::loadSelected(bool defaultKnownBroken) {
    skin.reset();
    m_usesFallback = false;
    if (selectedIndex != 0 || !defaultKnownBroken)
        skin = tryLoad(paths[selectedIndex]);
    if (!skin && selectedIndex != 0) {
        m_requestReported |= paths[selectedIndex] == m_requested;
        selectedIndex = 0;
        if (!defaultKnownBroken)
            skin = tryLoad(paths[0]);
    }
    if (!skin) {
        skin = loadFallback();
        m_usesFallback = true;
    }
}

void SkinCatalog::select(std::int32_t index) {
    if (index < 0 || index >= paths.size() || index == selectedIndex)
        return;
    selectedIndex = index;
    reload();
}

void SkinCatalog::reload() {
    loadSelected(false);
}

bool SkinCatalog::needsRescan() const {
    return scanFolders(folders) != m_scanned;
}

QString SkinCatalog::shownName(qsizetype index) const {
    return index >= 0 && index < m_names.size() ? m_names[index].shown() : names.value(index);
}

bool SkinCatalog::keepSelection(Settings& options) {
    const QString shown = paths[selectedIndex];
    const bool fellBack = options.isStored(u"skinPath") && options.skinPath == m_requested &&
                          !m_requested.isEmpty() && m_requested != shown;
    if (fellBack) {
        if (!m_requestReported) {
            // Not listed and not reported: a path to something that is no skin,
            // or to a skin outside the skins folders.
            QString why = QCoreApplication::translate("Skin", "%1: it is not in a skins folder.")
                              .arg(QDir::toNativeSeparators(m_requested));
            try {
                const Skin requested(m_requested);
                if (!requested.pictureReadable())
                    why = requested.pictureUserError;
            } catch (const OrvantaError& e) {
                why = e.userMessage();
            }
            m_messages->showMessage(
                QCoreApplication::translate("Skin", "The skin chosen in the options cannot be "
                                                    "used; the skin \"%1\" is shown instead.")
                    .arg(names[selectedIndex]) +
                QStringLiteral("\r\n\r\n") + why);
        }
        qCWarning(lcSkins, "The options named the skin \"%s\"; \"%s\" is shown and stored instead",
                  qUtf8Printable(m_requested), qUtf8Printable(shown));
        options.skinPath = shown;
        m_requested = shown;
    }
    if (!options.isStored(u"skinPath")) {
        // A first start: the options' own default may lie where no skin is
        // (beside the user's options of an installed program); the next save
        // stores the skin that is shown.
        options.skinPath = shown;
        m_requested = shown;
    }
    if (!fellBack && options.corrected().isEmpty())
        return false;
    options.save();
    return true;
}

void SkinCatalog::selectSkin(std::int32_t index, Settings& options) {
    select(index);
    options.skinPath = paths[selectedIndex];
    options.save();
}

} // namespace orvanta
