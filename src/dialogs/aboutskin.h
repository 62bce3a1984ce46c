#pragma once
// What the selected skin says about itself: name, author, description,
// contact, web site and version. The contact opens a mail to the author, the
// web site opens in the browser. A new dialog for each showing.

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvanta {

class ICursorTable;
class IShell;
class TDervikSkin;

class TfrmAboutThisSkin : public QDialog {
    Q_OBJECT

public:
    // Copies the fields of `skin`: the dialog does not follow a later change
    // of skin. `cursors` may be null.
    TfrmAboutThisSkin(const TDervikSkin& skin, IShell& shell, ICursorTable* cursors,
                      QWidget* parent = nullptr);

    // A new dialog, shown modally without waiting, freed when closed.
    static TfrmAboutThisSkin* Open(const TDervikSkin& skin, IShell& shell, ICursorTable* cursors,
                                   QWidget* parent = nullptr);

    QLabel* lblName;
    QLabel* lblAuthor;
    QLabel* lblDescription;
    QLabel* lblContact;
    QLabel* lblWebSite;
    QLabel* lblVersion;
    QPushButton* cmdOk;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IShell& m_shell;
    QString m_contact;
    QString m_webSite;
};

} // namespace orvanta
