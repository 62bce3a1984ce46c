#include "skins/skinlist.h"

#include "model/numbers.h"

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

std::unique_ptr<TDervikSkin> loadFallback() {
    registerFallbackSkin();
    auto skin = std::make_unique<TDervikSkin>(fallbackSkinPath());
    if (!skin->PictureReadable())
        throw OrvantaError(QStringLiteral("The built-in skin is damaged: ") + skin->PictureError);
    return skin;
}

} // namespace

QString skinProblemMessage() {
    return QStringLiteral("There is a problem with one of the skins.");
}

QString fallbackSkinPath() {
    return QStringLiteral(":/skins/fallback/fallback.ini");
}

TSkinList::TSkinList(const QString& folder, const QString& defaultPath, const QString& selectedPath,
                     IMessageSink& messages)
    : TSkinList(QStringList{folder}, defaultPath, selectedPath, messages) {}

TSkinList::TSkinList(const QStringList& folders, const QString& defaultPath,
                     const QString& selectedPath, IMessageSink& messages)
    : Folder(folders.value(0)), Folders(folders), m_messages(&messages) {
    // Entry 0 stands for the default skin even when that is broken: the menu
    // and the stored "skinPath" rely on it. The built-in skin then lends its name.
    const bool defaultBroken = !AddSkin(defaultPath);
    if (defaultBroken) {
        Names << loadFallback()->Name;
        Paths << defaultPath;
    }
    m_scanned = ScanFolders(Folders);
    for (const QString& path : std::as_const(m_scanned))
        AddSkin(path);
    SelectedIndex = 0;
    for (qsizetype i = 0; i < Paths.size(); ++i)
        if (Paths[i] == selectedPath)
            SelectedIndex = std::int32_t(i);
    loadSelected(defaultBroken);
}

QStringList TSkinList::ScanFolder(const QString& folder) {
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

QStringList TSkinList::ScanFolders(const QStringList& folders) {
    QStringList definitions;
    QSet<QString> taken; // folder names already listed
    for (const QString& folder : folders) {
        for (const QString& definition : ScanFolder(folder)) {
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

std::unique_ptr<TDervikSkin> TSkinList::tryLoad(const QString& path) {
    try {
        auto skin = TDervikSkin::Create(path, *m_messages);
        // Create has shown why; a skin without its picture cannot be drawn.
        if (!skin->PictureReadable())
            return nullptr;
        return skin;
    } catch (const std::exception&) {
        m_messages->ShowMessage(skinProblemMessage());
        return nullptr;
    }
}

bool TSkinList::AddSkin(const QString& path) {
    const auto skin = tryLoad(path);
    if (!skin)
        return false;
    Names << skin->Name;
    Paths << path;
    return true;
}

void TSkinList::loadSelected(bool defaultKnownBroken) {
    Skin.reset();
    m_usesFallback = false;
    if (SelectedIndex != 0 || !defaultKnownBroken)
        Skin = tryLoad(Paths[SelectedIndex]);
    if (!Skin && SelectedIndex != 0) {
        SelectedIndex = 0;
        if (!defaultKnownBroken)
            Skin = tryLoad(Paths[0]);
    }
    if (!Skin) {
        Skin = loadFallback();
        m_usesFallback = true;
    }
}

void TSkinList::Select(std::int32_t index) {
    if (index < 0 || index >= Paths.size() || index == SelectedIndex)
        return;
    SelectedIndex = index;
    Reload();
}

void TSkinList::Reload() {
    loadSelected(false);
}

bool TSkinList::NeedsRescan() const {
    return ScanFolders(Folders) != m_scanned;
}

void TSkinList::SelectSkin(std::int32_t index, TDervikOptions& options) {
    Select(index);
    options.skinPath = Paths[SelectedIndex];
    options.Save();
}

} // namespace orvanta
