// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The one place that changes the compass. It owns the options, the units, the
// compass model, the skin catalog and the renderer, and carries out every
// action a menu item, a key, a dialog or an automation client can ask for.
// The window is its view: it turns Qt events into calls of this class and
// paints the frames rendered here; what the controller wants shown or opened
// it asks of the view (CompassView), and its signals are news for whoever
// listens (the menu, the tray, the D-Bus objects). Menus, dialogs and the
// D-Bus objects talk to this class, never to the window.

#include "control/compassview.h"
#include "interaction/beneathfit.h"
#include "interaction/compassinteraction.h"
#include "interaction/layerstackregions.h"
#include "model/calibrationstore.h"
#include "model/compassmodel.h"
#include "model/messages.h"
#include "model/settings.h"
#include "model/unittable.h"
#include "package/installer.h"
#include "render/compassrenderer.h"
#include "skins/skincatalog.h"

#include <QObject>
#include <memory>

namespace orvanta {

// How far a second compass (key N) starts from the first, across and down.
inline constexpr int kSecondCompassStep = 48;

class Autostart;
class Shell;

// Where the controller reads and writes, decided at start.
struct ControllerFiles {
    QString options;         // Compass.ini
    UnitFiles units;         // distances.ini, the user's over the shipped one
    QStringList skinFolders; // the first is where packages install
    QString defaultSkin;     // the default skin's definition
    QString programFile;     // for autostart and another instance
    PackageTarget packages;  // where skin packages install and are recorded
    QString calibrations;    // the user's monitor calibrations
};

// The monitor under the compass, as the calibration dialog shows it.
struct MonitorReport {
    MonitorInfo monitor;
    MonitorScale scale;        // what the physical units use now
    MonitorScale uncalibrated; // what they would use without a calibration
};

// The ports the controller reaches the world through besides the view.
struct ControllerPorts {
    CompassView& view;
    MessageSink& messages;
    Autostart& autostart;
    Shell& shell; // starts another instance
    MousePointer& pointer;
    Clock& clock;
    RepeatTimer& timer;
};

class CompassController : public QObject, public CompassActions {
    Q_OBJECT

public:
    // Loads the options, the units and the skins and composes the compass;
    // throws OrvantaError when a file cannot be read at all.
    CompassController(ControllerFiles files, ControllerPorts ports);
    ~CompassController() override;

    // ---- what the view reads
    [[nodiscard]] const Settings& settings() const { return *m_settings; }
    [[nodiscard]] const UnitTable& units() const { return *m_units; }
    [[nodiscard]] const CompassState& state() const { return m_model->state; }
    [[nodiscard]] const SkinCatalog& skins() const { return *m_skins; }
    [[nodiscard]] const QImage& windowImage() const { return m_renderer.windowImage(); }
    // Where the window image lies, in desktop coordinates.
    [[nodiscard]] QRect windowRect() const { return m_renderer.windowRect(); }
    [[nodiscard]] QString titleText() const { return m_model->titleText(); }
    [[nodiscard]] CompassInteraction& interaction() { return *m_interaction; }
    // The model and the layers, for tests and benchmarks that set a state
    // directly.
    [[nodiscard]] CompassModel& model() { return *m_model; }
    [[nodiscard]] LayerStack& layers() { return m_renderer.layers; }

    // Renders once if the state asks for it and returns what changed in the
    // window image. `foreground`: the window is active; `ctrlDown` inverts
    // the sticky angles during a drag.
    Frame render(bool foreground, bool ctrlDown);
    // Something must be drawn again: the state, or only a control's look.
    [[nodiscard]] bool needsRender() const;

    // ---- the compass
    void setAngle(double degrees);
    void setMeasurement(double pixels);
    // A radius in the selected unit, whatever is shown, read back through the
    // same text a typed entry would give.
    void setDisplayMeasurement(double value);
    void setExternalZoom(double zoom);
    void moveTo(int x, int y);
    void centreOnScreen();
    // Every quantity on one line, on the clipboard (see measurementLine).
    void copyMeasurement();
    // One typed character; a bad entry is shown as a message.
    void typeCharacter(QChar c);

    // ---- choices (each saved at once unless said otherwise)
    void setShape(int sides);
    // As setShape, for a client: the menu then checks no shape item.
    void setShapeForClient(int sides);
    void setInscribed(bool inscribed);
    void setMeasureType(int type) override;
    void selectUnit(int index);
    void setStickyAngle(bool on);
    void setLockAngle(bool on);
    void setLockMeasurement(bool on);
    void setStayOnTop(bool on);
    void setQuality(bool high);
    void setTooltips(bool on);
    // The built-in loupe on or off, and its zoom; each saves.
    void setLoupe(bool on);
    void setLoupeZoom(int zoom);
    void setRunAtStart(bool on);
    void setHideSplash(bool on);
    // Saved at once; the view switches the language it speaks.
    void setLanguage(LanguageChoice choice);
    // The window's opacity in percent, as automation sees it: the complement
    // of the transparency, neither clamped nor saved.
    void setOpacity(int percent);
    [[nodiscard]] int opacity() const;
    // The transparency dialog: its slider previews at once, OK keeps.
    void previewOpacity(int percent);
    void saveOpacity(int percent);

    // ---- skins
    void selectSkin(int index);
    void nextBaseColor() override;
    void reloadSkin() override;
    // The skin folders changed on disk: the catalog is read again.
    void rescanSkinsIfNeeded();
    // Installs skin packages in order, each all or nothing, selects the last
    // one's skin and shows the compass. Returns the installed skins'
    // definitions (a package without one: its folder). Throws OrvantaError at
    // the first package that fails; those before it stay installed and listed.
    QStringList installPackages(const QStringList& packages);

    // ---- units
    // For the units dialog: the table it edits, and what follows an edit.
    [[nodiscard]] UnitTable& editableUnits() { return *m_units; }
    void unitsEdited();
    // Automation's indexed sets: change the table directly and save it.
    void changeUnit(const std::function<void(UnitTable&)>& change);

    // ---- monitors
    // The monitors changed (start, a monitor added or removed): the readout
    // follows the one under the pivot at the next render.
    void setMonitors(MonitorList monitors);
    [[nodiscard]] std::optional<MonitorReport> monitorUnderCompass() const;
    // Stores a monitor's calibration, or with none removes it, and saves.
    // A failed save is shown and the calibration lasts until exit.
    void calibrateMonitor(const MonitorIdentity& monitor,
                          const std::optional<PixelDensity>& density);
    void setPhysicalUnitsPerMonitor(bool on);

    // ---- commands that the view carries out: hiding, closing, the dialogs
    void showCompass();
    void requestHide() override;
    void closeCompass() override;
    void showHelp() override;
    void showCalibration();
    void showScreenCalibration();
    void showTransparencyDialog();
    void showAboutSkin();
    void openWebLink(const QString& action);
    void startNewInstance() override;
    // Fits the compass to the circle or polygon beneath its figure; `done`
    // hears whether it fitted. The hint shows the fit or why there is none.
    void fitToBeneath(std::function<void(bool)> done);
    void toggleFit() override;
    void undoFit() override;
    // The last fit's exact centre and spread, in desktop pixels.
    [[nodiscard]] std::optional<FigureFit> lastFit() const;
    // Where the screen beneath is read from (the session's reader by default).
    void setScreenPixels(std::unique_ptr<ScreenPixels> screen);
    // The tray balloon that says where the compass went is shown only once.
    void balloonShown();
    // The window is really closing: the options and the units are saved.
    void shutDown();

    // ---- CompassActions, for the interaction
    [[nodiscard]] QPoint virtualOrigin() const override;
    void applyStayOnTop() override;
    // Opens the context menu, unless the options switch it off.
    void popupMenu(QPoint screenPos) override;
    void optionsChanged() override;

    // Draw at the next idle moment.
    void requestRender();

Q_SIGNALS:
    // The compass was drawn (automation's OnUpdate) and the program ends
    // (OnQuit).
    void updated();
    void quitting();
    // The readout changed: the window title and the tray tooltip follow.
    void titleChanged(const QString& title);
    // The menu follows the options (checks), the units list, the skin list.
    void settingsChanged();
    void unitsChanged();
    void skinsChanged();
    // The user chose another language for the program.
    void languageChosen(LanguageChoice choice);
    // A client chose a shape: no shape item stays checked.
    void shapeChosenByClient();

private:
    void compose();
    bool saveSettings();
    void placeMeasureSelectors();
    void followMonitor();
    [[nodiscard]] QPoint pivotOnScreen() const;

    ControllerFiles m_files;
    ControllerPorts m_ports;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<UnitTable> m_units;
    std::unique_ptr<CalibrationStore> m_calibrations;
    MonitorList m_monitors;
    std::unique_ptr<CompassModel> m_model;
    std::unique_ptr<SkinCatalog> m_skins;
    CompassRenderer m_renderer;
    LayerStackRegions m_regions;
    std::unique_ptr<CompassInteraction> m_interaction;
    std::unique_ptr<BeneathFit> m_fit;
    bool m_saveFailureShown = false;
};

} // namespace orvanta
