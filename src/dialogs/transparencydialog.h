#pragma once
// The transparency dialog: a slider of the compass's opacity (10..100 %) that
// the compass follows while it moves. OK keeps the value and saves the
// options; Cancel, Escape and the close box put back the value the dialog
// found when it opened. Made once and shown again on each use.

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QSlider;

namespace orvanta {

class CursorSource;
class Settings;

class TransparencyDialog : public QDialog {
    Q_OBJECT

public:
    // `render` shows the compass with the options' current transparency;
    // `cursors` may be null.
    TransparencyDialog(Settings& options, std::function<void()> render, CursorSource* cursors,
                       QWidget* parent = nullptr);

    // Records the transparency to restore, sets the slider from it and shows
    // the dialog modally without waiting; does nothing while it is shown.
    void showDialog();

    static constexpr int kMinOpacity = 10;
    static constexpr int kMaxOpacity = 100;

    QLabel* m_caption;
    QLabel* m_percentLabel;
    QSlider* m_slider;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void sliderMoved(int opacity);

    Settings& m_options;
    std::function<void()> m_render;
    int m_restore = 0;
};

} // namespace orvanta
