// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "control/compasscontroller.h"

#include "model/numbers.h"
#include "model/values.h"
#include "platform/autostart.h"
#include "platform/shell.h"
#include "render/compose.h"

namespace orvanta {

CompassController::CompassController(ControllerFiles files, ControllerPorts ports)
    : m_files(std::move(files)), m_ports(ports),
      m_regions([this]() -> LayerStack& { return m_renderer.layers; }) {
    m_settings = std::make_unique<Settings>(m_files.options);
    // Options that name no skin mean the shipped default skin, which lies
    // beside Compass.ini only in a portable folder; a first start saves the
    // options before the skins are listed.
    if (!m_settings->isStored(u"skinPath"))
        m_settings->skinPath = m_files.defaultSkin;
    m_units = std::make_unique<UnitTable>(m_files.units);
    m_calibrations = std::make_unique<CalibrationStore>(m_files.calibrations);
    m_model = std::make_unique<CompassModel>(*m_settings, *m_units);
    m_model->initialise(m_ports.view.desktop());
    m_skins = std::make_unique<SkinCatalog>(m_files.skinFolders, m_files.defaultSkin,
                                            m_settings->skinPath, m_ports.messages);
    // A skin that is gone and values a hand edit put out of range are stored
    // as they are used, so the next start neither corrects nor warns again.
    m_skins->keepSelection(*m_settings);
    m_interaction = std::make_unique<CompassInteraction>(
        *m_model, InteractionPorts{m_regions, *this, m_ports.view, m_ports.pointer, m_ports.clock,
                                   m_ports.timer});
    compose();
}

CompassController::~CompassController() = default;

// ---------------------------------------------------------------- rendering

Frame CompassController::render(bool foreground, bool ctrlDown) {
    if (m_renderer.layers.empty())
        return {};
    followMonitor();
    RenderInput in{*m_model, *m_skins->skin, m_ports.view.desktop(), foreground, ctrlDown};
    m_renderer.needsWindowUpdate |= m_interaction->takeWindowUpdate();
    const Frame frame = m_renderer.idleUpdate(in);
    if (frame.readoutChanged)
        Q_EMIT titleChanged(m_model->titleText());
    if (frame.rendered)
        Q_EMIT updated();
    return frame;
}

bool CompassController::needsRender() const {
    return m_model->state.needsRepaint || m_renderer.needsWindowUpdate ||
           m_interaction->needsWindowUpdate();
}

void CompassController::requestRender() {
    m_model->state.needsRepaint = true;
    m_ports.view.scheduleRender();
}

void CompassController::compose() {
    const ComposeResult result =
        orvanta::compose(*m_skins->skin, *m_settings, m_model->state, m_renderer.layers);
    if (!result.ok)
        m_ports.messages.showMessage(result.error);
    Q_EMIT settingsChanged();
    m_ports.view.scheduleRender();
}

// ---------------------------------------------------------------- the compass

void CompassController::setAngle(double degrees) {
    m_model->state.setAngle(finiteFloat(degrees, u"Angle"));
    requestRender();
}

void CompassController::setMeasurement(double pixels) {
    m_model->state.measurement = finiteFloat(pixels, u"Measurement");
    requestRender();
}

void CompassController::setDisplayMeasurement(double value) {
    CompassModel& model = *m_model;
    const float v = finiteFloat(value, u"DisplayMeasurement");
    model.state.displayText = formatGeneral(v, model.decimalSeparator);
    model.state.changeMeasurement(model.unitsToPixels(model.state.displayText) -
                                  model.state.measurement);
    requestRender();
}

void CompassController::setExternalZoom(double zoom) {
    m_model->state.externalZoom = finiteFloat(zoom, u"ExternalZoom");
    requestRender();
}

void CompassController::moveTo(int x, int y) {
    m_model->state.moveTo(x, y);
    requestRender();
}

void CompassController::centreOnScreen() {
    m_renderer.centreOnScreen(m_model->state, m_ports.view.desktop());
    requestRender();
}

void CompassController::typeCharacter(QChar c) {
    try {
        m_model->keyPress(c);
    } catch (const OrvantaError& e) {
        m_ports.messages.showMessage(e.userMessage());
    }
    m_ports.view.scheduleRender();
}

// ---------------------------------------------------------------- choices

void CompassController::setShape(int sides) {
    m_model->setShape(shapeOrCircle(sides));
    requestRender();
}

void CompassController::setShapeForClient(int sides) {
    setShape(sides);
    Q_EMIT shapeChosenByClient();
}

void CompassController::setInscribed(bool inscribed) {
    m_model->setScribe(inscribed);
    Q_EMIT settingsChanged();
    requestRender();
}

void CompassController::copyMeasurement() {
    m_ports.view.setClipboardText(m_model->measurementLine());
}

void CompassController::setMeasureType(int type) {
    m_model->setMeasureType(int(validMeasureKind(type)));
    placeMeasureSelectors();
    Q_EMIT settingsChanged();
    m_ports.view.scheduleRender();
}

void CompassController::placeMeasureSelectors() {
    raiseMeasureTypeControl(m_renderer.layers, int(m_settings->measureType));
}

void CompassController::selectUnit(int index) {
    m_model->selectUnit(index);
    m_ports.view.scheduleRender();
}

void CompassController::setStickyAngle(bool on) {
    m_model->setStickyAngle(on);
    Q_EMIT settingsChanged();
    m_ports.view.scheduleRender();
}

void CompassController::setLockAngle(bool on) {
    m_model->setLockAngle(on);
    Q_EMIT settingsChanged();
    m_ports.view.scheduleRender();
}

void CompassController::setLockMeasurement(bool on) {
    m_model->setLockMeasurement(on);
    Q_EMIT settingsChanged();
    m_ports.view.scheduleRender();
}

void CompassController::setStayOnTop(bool on) {
    m_settings->stayOnTop = on;
    saveSettings();
    Q_EMIT settingsChanged();
    applyStayOnTop();
    requestRender();
}

void CompassController::setQuality(bool high) {
    m_settings->quality = high;
    saveSettings();
    compose();
}

void CompassController::setTooltips(bool on) {
    m_settings->tooltips = on;
    saveSettings();
}

void CompassController::setLoupe(bool on) {
    m_settings->loupe = on;
    saveSettings();
    Q_EMIT settingsChanged();
}

void CompassController::setLoupeZoom(int zoom) {
    m_settings->loupeZoom = kLoupeZoomRange.brought(zoom);
    saveSettings();
    Q_EMIT settingsChanged();
}

void CompassController::setRunAtStart(bool on) {
    m_settings->runAtStart = on;
    saveSettings();
    m_ports.autostart.setRunAtStart(on, m_files.programFile);
}

void CompassController::setHideSplash(bool on) {
    m_settings->hideSplash = on;
    saveSettings();
}

void CompassController::setLanguage(LanguageChoice choice) {
    m_settings->language = choice;
    saveSettings();
    Q_EMIT languageChosen(choice);
    Q_EMIT settingsChanged();
}

void CompassController::setOpacity(int percent) {
    m_settings->transparency = kFullOpacity - percent;
    compose();
}

int CompassController::opacity() const {
    return kFullOpacity - m_settings->transparency;
}

void CompassController::previewOpacity(int percent) {
    m_settings->transparency = kFullOpacity - percent;
    requestRender();
}

void CompassController::saveOpacity(int percent) {
    previewOpacity(percent);
    saveSettings(); // a failed save keeps the value for this run
}

// ---------------------------------------------------------------- skins

void CompassController::selectSkin(int index) {
    m_skins->selectSkin(index, *m_settings);
    compose();
}

void CompassController::nextBaseColor() {
    m_skins->skin->nextBaseColor();
    m_settings->selectedBaseColor = m_skins->skin->baseColorIndex;
    compose();
}

void CompassController::reloadSkin() {
    m_skins->reload();
    compose();
}

void CompassController::rescanSkinsIfNeeded() {
    if (m_skins->needsRescan()) {
        // The compass keeps the skin it shows until the next composition.
        m_skins = std::make_unique<SkinCatalog>(m_files.skinFolders, m_files.defaultSkin,
                                                m_settings->skinPath, m_ports.messages);
        Q_EMIT skinsChanged();
    }
    m_skins->skin->baseColorIndex = m_settings->selectedBaseColor;
}

QStringList CompassController::installPackages(const QStringList& packages) {
    QStringList installed;
    QString lastSkin;
    const auto adopt = [&] {
        // The installer recorded the skin in the options file; the options in
        // memory take it over and the catalog is read again.
        if (lastSkin.isEmpty())
            return;
        m_settings->skinPath = lastSkin;
        m_skins = std::make_unique<SkinCatalog>(m_files.skinFolders, m_files.defaultSkin,
                                                m_settings->skinPath, m_ports.messages);
        Q_EMIT skinsChanged();
        compose();
        showCompass();
    };
    try {
        for (const QString& package : packages) {
            const QString skin = installSkinPackage(m_files.packages, package);
            installed << (skin.isEmpty()
                              ? m_files.packages.skinsFolder + u'/' + packageFolderName(package)
                              : skin);
            if (!skin.isEmpty())
                lastSkin = skin;
        }
    } catch (...) {
        adopt();
        throw;
    }
    adopt();
    return installed;
}

// ---------------------------------------------------------------- units

void CompassController::unitsEdited() {
    Q_EMIT unitsChanged();
    requestRender();
}

void CompassController::changeUnit(const std::function<void(UnitTable&)>& change) {
    change(*m_units);
    m_units->save();
}

// ---------------------------------------------------------------- monitors

void CompassController::setMonitors(MonitorList monitors) {
    m_monitors = std::move(monitors);
    requestRender();
}

QPoint CompassController::pivotOnScreen() const {
    const Layer* base = m_renderer.layers.baseLayer;
    const QPoint pivot = base ? base->pivot.toPoint() : QPoint();
    return virtualOrigin() + QPoint(m_model->state.posX, m_model->state.posY) + pivot;
}

std::optional<MonitorReport> CompassController::monitorUnderCompass() const {
    const MonitorInfo* monitor = monitorAt(m_monitors, pivotOnScreen());
    if (!monitor)
        return std::nullopt;
    const QSizeF desktopMm = m_monitors.desktopMillimetres;
    return MonitorReport{*monitor,
                         monitorScale(*monitor, desktopMm, m_calibrations->find(monitor->identity)),
                         uncalibratedScale(*monitor, desktopMm)};
}

void CompassController::followMonitor() {
    MonitorScale scale;
    if (const auto report = monitorUnderCompass()) {
        scale = report->scale;
        if (!m_settings->physicalUnitsPerMonitor) {
            scale.density = PixelDensity{};
            scale.source = DensitySource::Assumed;
        }
    }
    // Crossing to a monitor of another density changes the readout alone.
    if (scale.density != m_model->monitor.density)
        m_model->state.needsRepaint = true;
    m_model->monitor = scale;
}

void CompassController::calibrateMonitor(const MonitorIdentity& monitor,
                                         const std::optional<PixelDensity>& density) {
    if (density)
        m_calibrations->set(monitor, *density);
    else
        m_calibrations->remove(monitor);
    QString why;
    if (!m_calibrations->save(&why))
        m_ports.messages.showMessage(
            tr("Cannot save the calibration to \"%1\". %2").arg(m_calibrations->fileName(), why));
    requestRender();
}

void CompassController::setPhysicalUnitsPerMonitor(bool on) {
    m_settings->physicalUnitsPerMonitor = on;
    saveSettings();
    Q_EMIT settingsChanged();
    requestRender();
}

// ---------------------------------------------------------------- commands

void CompassController::showCompass() {
    m_ports.view.showCompass();
    ControlLayers& close = m_renderer.layers.control(SkinControl::Close);
    if (close.exists()) {
        close.pressed->visible = false;
        close.hover->visible = false;
    }
    requestRender();
}

void CompassController::requestHide() {
    // Without a way back from the tray, hiding is quitting.
    m_ports.view.hideCompass(hidesToTray(*m_settings, m_ports.view.hasTray()));
}

void CompassController::closeCompass() {
    m_ports.view.closeCompass();
}

void CompassController::showHelp() {
    m_ports.view.showHelp();
}

void CompassController::showCalibration() {
    m_ports.view.showCalibration();
}

void CompassController::showScreenCalibration() {
    m_ports.view.showScreenCalibration();
}

void CompassController::showTransparencyDialog() {
    m_ports.view.showTransparencyDialog();
}

void CompassController::showAboutSkin() {
    m_ports.view.showAboutSkin();
}

void CompassController::openWebLink(const QString& action) {
    m_ports.view.openWebLink(action);
}

void CompassController::startNewInstance() {
    // The new compass reads the options as they are now, with its place a step
    // beside this one so that both can be seen; this compass keeps its own
    // place and stores it again with its next save.
    CompassState& state = m_model->state;
    state.normalizeCompass(*m_settings, false);
    state.storeCompassState(*m_settings);
    const QPoint here(m_settings->x, m_settings->y);
    const QSize desktop = m_ports.view.desktop().virtualRect.size();
    const auto step = [](int at, int size) {
        return at + kSecondCompassStep < size - kSecondCompassStep ? at + kSecondCompassStep
                                                                   : at - kSecondCompassStep;
    };
    m_settings->x = step(here.x(), desktop.width());
    m_settings->y = step(here.y(), desktop.height());
    saveSettings();
    m_settings->x = here.x();
    m_settings->y = here.y();
    m_ports.shell.startProgram(m_files.programFile);
}

void CompassController::balloonShown() {
    m_settings->showMinimizeBalloon = false;
    saveSettings();
}

// A choice that cannot be stored still holds until the program ends; the user
// hears so at the first failure, not at every toggle after it.
bool CompassController::saveSettings() {
    QString why;
    if (m_settings->save(&why))
        return true;
    if (!m_saveFailureShown) {
        m_saveFailureShown = true;
        m_ports.messages.showMessage(
            tr("Cannot save the options to \"%1\". %2").arg(m_settings->fileName, why));
    }
    return false;
}

void CompassController::shutDown() {
    // Each frame stores the compass it drew; a change since the last one (the
    // snap of a release, a key pressed just before quitting) is stored here
    // as that frame would have, or it would be lost.
    CompassState& state = m_model->state;
    state.normalizeCompass(*m_settings, false);
    state.storeCompassState(*m_settings);
    m_settings->save();
    try {
        m_units->save();
    } catch (const OrvantaError&) {
        // Saving on the way out has nobody left to tell; the save logged why.
    }
    Q_EMIT quitting();
}

// ---------------------------------------------------------------- for the interaction

QPoint CompassController::virtualOrigin() const {
    return m_ports.view.desktop().virtualRect.topLeft();
}

void CompassController::applyStayOnTop() {
    m_ports.view.applyStayOnTop(m_settings->stayOnTop);
}

void CompassController::popupMenu(QPoint screenPos) {
    if (m_settings->rightClickMenu)
        m_ports.view.popupMenu(screenPos);
}

void CompassController::optionsChanged() {
    Q_EMIT settingsChanged();
    m_ports.view.scheduleRender();
}

// ---------------------------------------------------------------- fit to what is beneath

void CompassController::setScreenPixels(std::unique_ptr<ScreenPixels> screen) {
    m_fit = std::make_unique<BeneathFit>(*m_model, std::move(screen));
}

void CompassController::fitToBeneath(std::function<void(bool)> done) {
    if (!m_fit)
        setScreenPixels(makeScreenPixels());
    const Layer* base = m_renderer.layers.baseLayer;
    const DesktopGeometry desktop = m_ports.view.desktop();
    FitScene scene;
    scene.basePivot = base ? base->pivot : QPointF();
    scene.virtualOrigin = desktop.virtualRect.topLeft();
    scene.desktop = QRect(QPoint(0, 0), desktop.virtualRect.size());
    scene.drawn = &m_renderer.windowImage();
    scene.drawnRect = m_renderer.windowRect();
    m_fit->fit(scene, [this, done](bool fitted, const QString& hint) {
        if (fitted)
            requestRender();
        m_ports.view.showToolTip(hint, pivotOnScreen());
        if (done)
            done(fitted);
    });
}

void CompassController::toggleFit() {
    if (m_fit && m_fit->undoable())
        undoFit();
    else
        fitToBeneath(nullptr);
}

void CompassController::undoFit() {
    if (m_fit && m_fit->undo()) {
        m_ports.view.hideToolTip();
        requestRender();
    }
}

std::optional<FigureFit> CompassController::lastFit() const {
    return m_fit ? m_fit->last() : std::nullopt;
}

} // namespace orvanta
