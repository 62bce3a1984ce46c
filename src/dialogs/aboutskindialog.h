// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the selected skin says about itself: name, author, description,
// contact, web site and version. The contact opens a mail to the author, the
// web site opens in the browser. A new dialog for each showing.

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvanta {

class CursorSource;
class Shell;
class Skin;

class AboutSkinDialog : public QDialog {
    Q_OBJECT

public:
    // Copies the fields of `skin`: the dialog does not follow a later change
    // of skin. `cursors` may be null.
    AboutSkinDialog(const Skin& skin, Shell& shell, CursorSource* cursors,
                    QWidget* parent = nullptr);

    // A new dialog, shown modally without waiting, freed when closed.
    static AboutSkinDialog* showDialog(const Skin& skin, Shell& shell, CursorSource* cursors,
                                       QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr int kRows = 6;

    void retranslateUi();

    QLabel* m_heading;
    QLabel* m_labels[kRows]; // what each value is: "Name:", ...
    QLabel* m_values[kRows];
    QLabel* m_contactLink;
    QLabel* m_websiteLink;
    QPushButton* m_okButton;
    Shell& m_shell;
    QString m_contact;
    QString m_webSite;
};

} // namespace orvanta
