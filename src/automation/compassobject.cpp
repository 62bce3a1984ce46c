// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/compassobject.h"

#include "app/compasswindow.h"
#include "model/numbers.h"

#include <QDBusMessage>
#include <cmath>

namespace orvanta {

namespace {

// The version clients read; the object model has not changed since 4.0.
constexpr double kModelVersion = 4.0;
// The window's opacity in percent: below the floor the compass would be all
// but invisible and hard to find again.
constexpr long double kMinOpacity = 10;
constexpr long double kMaxOpacity = 100;
// Shapes a client may ask for: the circle and polygons up to 39 sides.
constexpr int kLargestShape = 39;
constexpr int kRadius = 0;
constexpr int kArea = 2;

QString cannotConnectText() {
    return QStringLiteral("CONNECT_E_CANNOTCONNECT (0x80040202): another client is "
                          "connected to the events; only one sink is taken at a time");
}

QString noConnectionText() {
    return QStringLiteral("CONNECT_E_NOCONNECTION (0x80040200): the caller is not the "
                          "connected sink of the events");
}

} // namespace

CompassObject::CompassObject(CompassWindow& window, QDBusConnection bus, ClientSeen clientSeen)
    : AutomationObject(std::move(clientSeen)), m_window(window), m_bus(std::move(bus)) {
    connect(&m_window, &CompassWindow::Updated, this, [this] { fire(QStringLiteral("OnUpdate")); });
    connect(&m_window, &CompassWindow::quitting, this, [this] { fire(QStringLiteral("OnQuit")); });
}

// ---------------------------------------------------------------- state

void CompassObject::setMenuSwitch(void (CompassModel::*toggle)(bool), bool on) {
    // As the menu item: the model saves the options, the menu follows.
    member([&] {
        (m_window.model().*toggle)(on);
        m_window.optionsChanged();
    });
}

double CompassObject::measurement() {
    return member([&] { return double(m_window.model().state.measurement); });
}

void CompassObject::setMeasurement(double value) {
    member([&] {
        m_window.model().state.measurement = finiteFloat(value, u"Measurement");
        m_window.requestRender();
    });
}

QString CompassObject::displayText() {
    return member([&] { return m_window.model().state.displayText; });
}

double CompassObject::displayMeasurement() {
    return member([&] { return double(m_window.model().state.displayValue); });
}

void CompassObject::setDisplayMeasurement(double value) {
    member([&] {
        // A radius in the selected unit whatever is shown, read back through
        // the same text a typed entry would give.
        CompassModel& model = m_window.model();
        const float v = finiteFloat(value, u"DisplayMeasurement");
        model.state.displayText = formatGeneral(v, model.decimalSeparator);
        model.state.changeMeasurement(model.unitsToPixels(model.state.displayText) -
                                      model.state.measurement);
        m_window.requestRender();
    });
}

QDBusObjectPath CompassObject::units() {
    return member([&] { return QDBusObjectPath(kUnitsPath.toString()); });
}

QDBusObjectPath CompassObject::skins() {
    return member([&] { return QDBusObjectPath(kSkinsPath.toString()); });
}

double CompassObject::version() {
    return member([&] { return kModelVersion; });
}

bool CompassObject::stickyAngles() {
    return member([&] { return m_window.options().stickyAngle; });
}

void CompassObject::setStickyAngles(bool on) {
    setMenuSwitch(&CompassModel::setStickyAngle, on);
}

bool CompassObject::lockAngle() {
    return member([&] { return m_window.options().lockAngle; });
}

void CompassObject::setLockAngle(bool on) {
    setMenuSwitch(&CompassModel::setLockAngle, on);
}

bool CompassObject::lockMeasurement() {
    return member([&] { return m_window.options().lockMeasurement; });
}

void CompassObject::setLockMeasurement(bool on) {
    setMenuSwitch(&CompassModel::setLockMeasurement, on);
}

double CompassObject::angle() {
    return member([&] { return double(m_window.model().state.angle); });
}

void CompassObject::setAngle(double value) {
    member([&] {
        m_window.model().state.setAngle(finiteFloat(value, u"Angle"));
        m_window.requestRender();
    });
}

int CompassObject::x() {
    return member([&] { return int(m_window.options().x); });
}

int CompassObject::y() {
    return member([&] { return int(m_window.options().y); });
}

bool CompassObject::stayOnTop() {
    return member([&] { return m_window.options().stayOnTop; });
}

void CompassObject::setStayOnTop(bool on) {
    member([&] { m_window.setStayOnTop(on); });
}

double CompassObject::transparency() {
    return member([&] { return double(m_window.opacity()); });
}

void CompassObject::setTransparency(double percent) {
    member([&] {
        // Infinities clamp like any large value; NaN has no nearest integer.
        if (std::isnan(percent))
            throw OrvantaError(QStringLiteral("Transparency must be a number, not nan"));
        long double n = roundHalfEven(percent);
        if (n > kMaxOpacity)
            n = kMaxOpacity;
        if (n <= kMinOpacity)
            n = kMinOpacity;
        m_window.setOpacity(int(n));
    });
}

double CompassObject::externalZoom() {
    return member([&] { return double(m_window.model().state.externalZoom); });
}

void CompassObject::setExternalZoom(double value) {
    member([&] {
        m_window.model().state.externalZoom = finiteFloat(value, u"ExternalZoom");
        m_window.requestRender();
    });
}

int CompassObject::shape() {
    return member([&] { return int(m_window.options().shape); });
}

void CompassObject::setShape(int sides) {
    member([&] {
        m_window.model().setShape(sides >= kCircle && sides <= kLargestShape ? sides : kCircle);
        // Unlike the menu, a client's choice checks no shape item.
        for (QAction* item : shapeActions(m_window.menu()))
            item->setChecked(false);
        m_window.requestRender();
    });
}

bool CompassObject::inscribePolygons() {
    return member([&] { return m_window.options().scribe == 1; });
}

void CompassObject::setInscribePolygons(bool on) {
    member([&] {
        m_window.model().setScribe(on);
        // The menu follows, so that it never shows the other mode as chosen.
        if (QActionGroup* modes = m_window.menu().scribeGroup)
            for (QAction* item : modes->actions())
                item->setChecked(item->data().toInt() == (on ? 1 : 0));
        m_window.requestRender();
    });
}

int CompassObject::measurementType() {
    return member([&] { return int(m_window.options().measureType); });
}

void CompassObject::setMeasurementType(int type) {
    member([&] { m_window.setMeasureType(type >= kRadius && type <= kArea ? type : kRadius); });
}

// ---------------------------------------------------------------- commands

void CompassObject::Repaint() {
    member([&] { m_window.requestRender(); });
}

void CompassObject::ShowHelp() {
    member([&] { m_window.showHelp(); });
}

void CompassObject::VisitWebsite() {
    member([&] { m_window.openWebLink(QString()); });
}

void CompassObject::MoveTo(int x, int y) {
    member([&] {
        m_window.model().state.moveTo(x, y);
        m_window.requestRender();
    });
}

void CompassObject::Quit() {
    member([&] { m_window.closeCompass(); });
}

void CompassObject::Hide() {
    member([&] { m_window.requestHide(); });
}

void CompassObject::UnHide() {
    member([&] { m_window.showCompass(); });
}

void CompassObject::ShowCalibrationScreen() {
    member([&] { m_window.showCalibrationScreen(); });
}

// ---------------------------------------------------------------- events

void CompassObject::Advise() {
    noteCaller();
    if (!calledFromDBus())
        return;
    const QString caller = message().service();
    if (!m_sink.isEmpty() && m_sink != caller) {
        sendError(kCannotConnectError, cannotConnectText());
        return;
    }
    m_sink = caller;
}

void CompassObject::Unadvise() {
    noteCaller();
    if (!calledFromDBus())
        return;
    if (m_sink.isEmpty() || m_sink != message().service()) {
        sendError(kNoConnectionError, noConnectionText());
        return;
    }
    m_sink.clear();
}

void CompassObject::clientLeft(const QString& uniqueName) {
    if (uniqueName == m_sink)
        m_sink.clear();
}

void CompassObject::fire(const QString& event) {
    if (m_sink.isEmpty())
        return;
    m_bus.send(QDBusMessage::createTargetedSignal(m_sink, kCompassPath.toString(),
                                                  kEventsInterface.toString(), event));
}

} // namespace orvanta
