// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The installed skins: the default skin beside the program (always entry 0)
// and every subfolder of the skins folders that holds a definition file. The
// list knows which one is selected and owns that skin, loaded.
//
// A broken skin never stops the program. A skin whose definition cannot be
// read, or whose picture cannot be read, is reported once when the list is
// built and left out of it; when the selected skin cannot be loaded the
// default skin is used, and when not even that loads, a plain skin built into
// the program.

#include "model/messages.h"
#include "model/settings.h"
#include "skins/skin.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace orvanta {

// The text shown when a skin's definition file cannot be read at all.
[[nodiscard]] QString skinProblemMessage();

// The definition of the built-in skin, a Qt resource.
[[nodiscard]] QString fallbackSkinPath();

class SkinCatalog {
public:
    // Builds the list: the default skin at `defaultPath`, then the skins found
    // in `folder`, and selects the entry whose path equals `selectedPath`
    // exactly (the last one if several do; the default skin if none does).
    // Problems go to `messages`, which must outlive the list.
    SkinCatalog(const QString& folder, const QString& defaultPath, const QString& selectedPath,
                MessageSink& messages);
    // The same over several skins folders (the user's, then the shipped ones):
    // their skins are listed together in name order, and a subfolder hides one
    // of the same name in a later folder. `Folder` is the first of them.
    SkinCatalog(const QStringList& folders, const QString& defaultPath, const QString& selectedPath,
                MessageSink& messages);

    // The definition files in the subfolders of `folder`: the first "*.ini" of
    // each subfolder that has one. Folders and files are taken in name order
    // without regard to case (then with it), so every system lists them alike;
    // names starting with a dot are not looked at.
    [[nodiscard]] static QStringList scanFolder(const QString& folder);
    // scanFolder over several folders, merged as the constructor lists them.
    [[nodiscard]] static QStringList scanFolders(const QStringList& folders);

    // Loads the skin at `path` to learn its name and appends it. A skin that
    // cannot be loaded or whose picture cannot be read is reported and left
    // out; returns whether it was added.
    bool addSkin(const QString& path);
    // Selects and loads entry `index`; does nothing for the selected entry or
    // an index outside the list (negative ones included).
    void select(std::int32_t index);
    // Loads the selected skin again from its files, falling back to the
    // default skin, then to the built-in one, when it cannot be loaded.
    void reload();
    // Whether the skin folders on disk differ from those this list was built
    // from. Broken folders count as found: they are on disk, just not listed,
    // and must not make every opening of the menu rebuild and report again.
    [[nodiscard]] bool needsRescan() const;

    // Select, then remember the choice in the options' "skinPath" and save
    // them. What the window adds (cursor, composition) is the window's.
    void selectSkin(std::int32_t index, Settings& options);

    // When the options named a skin this list does not show (gone, broken, not
    // a skin at all), tells the user once why and which skin is shown instead,
    // and puts that one into the options (without a word when the options
    // named none and their default is not the one shown); values corrected when
    // they were read go too. Saves the options when anything changed, so that
    // the next start neither falls back nor says so again. Returns whether it
    // saved.
    bool keepSelection(Settings& options);

    // The name of entry `index` in the language spoken now; names holds them
    // in the language of the moment the list was built.
    [[nodiscard]] QString shownName(qsizetype index) const;

    // Whether Skin is the built-in skin because nothing else could be loaded.
    [[nodiscard]] bool usesFallback() const { return m_usesFallback; }

    std::unique_ptr<Skin> skin; // the selected skin; never null
    QString folder;             // where skin packages install: the first of Folders
    QStringList folders;
    QStringList names;
    QStringList paths;
    std::int32_t selectedIndex = 0;

private:
    // Loads a skin for use; null (after telling the user) when it is broken.
    [[nodiscard]] std::unique_ptr<Skin> tryLoad(const QString& path);
    void loadSelected(bool defaultKnownBroken);

    MessageSink* m_messages;
    QStringList m_scanned;          // what scanFolder found when the list was built
    QList<SkinText> m_names;        // beside names
    QString m_requested;            // the selected path the list was built for
    bool m_requestReported = false; // its problem was shown while listing or loading
    bool m_usesFallback = false;
};

} // namespace orvanta
