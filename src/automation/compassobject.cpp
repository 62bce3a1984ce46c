// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/compassobject.h"

#include "control/compasscontroller.h"
#include "model/values.h"

#include <QDBusMessage>

namespace orvanta {

namespace {

// The version clients read; the object model has not changed since 4.0.
constexpr double kModelVersion = 4.0;

QString cannotConnectText() {
    return QStringLiteral("CONNECT_E_CANNOTCONNECT (0x80040202): another client is "
                          "connected to the events; only one sink is taken at a time");
}

QString noConnectionText() {
    return QStringLiteral("CONNECT_E_NOCONNECTION (0x80040200): the caller is not the "
                          "connected sink of the events");
}

} // namespace

CompassObject::CompassObject(CompassController& controller, QDBusConnection bus,
                             ClientSeen clientSeen)
    : AutomationObject(std::move(clientSeen)), m_controller(controller), m_bus(std::move(bus)) {
    connect(&m_controller, &CompassController::updated, this,
            [this] { fire(QStringLiteral("OnUpdate")); });
    connect(&m_controller, &CompassController::quitting, this,
            [this] { fire(QStringLiteral("OnQuit")); });
}

// ---------------------------------------------------------------- state

double CompassObject::measurement() {
    return member([&] { return double(m_controller.state().measurement); });
}

void CompassObject::setMeasurement(double value) {
    member([&] { m_controller.setMeasurement(value); });
}

QString CompassObject::displayText() {
    return member([&] { return m_controller.state().displayText; });
}

double CompassObject::displayMeasurement() {
    return member([&] { return double(m_controller.state().displayValue); });
}

void CompassObject::setDisplayMeasurement(double value) {
    member([&] { m_controller.setDisplayMeasurement(value); });
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
    return member([&] { return m_controller.settings().stickyAngle; });
}

void CompassObject::setStickyAngles(bool on) {
    member([&] { m_controller.setStickyAngle(on); });
}

bool CompassObject::lockAngle() {
    return member([&] { return m_controller.settings().lockAngle; });
}

void CompassObject::setLockAngle(bool on) {
    member([&] { m_controller.setLockAngle(on); });
}

bool CompassObject::lockMeasurement() {
    return member([&] { return m_controller.settings().lockMeasurement; });
}

void CompassObject::setLockMeasurement(bool on) {
    member([&] { m_controller.setLockMeasurement(on); });
}

double CompassObject::angle() {
    return member([&] { return double(m_controller.state().angle); });
}

void CompassObject::setAngle(double value) {
    member([&] { m_controller.setAngle(value); });
}

int CompassObject::x() {
    return member([&] { return int(m_controller.settings().x); });
}

int CompassObject::y() {
    return member([&] { return int(m_controller.settings().y); });
}

bool CompassObject::stayOnTop() {
    return member([&] { return m_controller.settings().stayOnTop; });
}

void CompassObject::setStayOnTop(bool on) {
    member([&] { m_controller.setStayOnTop(on); });
}

double CompassObject::transparency() {
    return member([&] { return double(m_controller.opacity()); });
}

void CompassObject::setTransparency(double percent) {
    member([&] { m_controller.setOpacity(clampedOpacity(percent)); });
}

double CompassObject::externalZoom() {
    return member([&] { return double(m_controller.state().externalZoom); });
}

void CompassObject::setExternalZoom(double value) {
    member([&] { m_controller.setExternalZoom(value); });
}

int CompassObject::shape() {
    return member([&] { return int(m_controller.settings().shape); });
}

void CompassObject::setShape(int sides) {
    // Unlike the menu, a client's choice checks no shape item.
    member([&] { m_controller.setShapeForClient(sides); });
}

bool CompassObject::inscribePolygons() {
    return member([&] { return m_controller.settings().scribe == Inscription::Inscribed; });
}

void CompassObject::setInscribePolygons(bool on) {
    member([&] { m_controller.setInscribed(on); });
}

int CompassObject::measurementType() {
    return member([&] { return int(m_controller.settings().measureType); });
}

void CompassObject::setMeasurementType(int type) {
    member([&] { m_controller.setMeasureType(type); });
}

// ---------------------------------------------------------------- commands

void CompassObject::Repaint() {
    member([&] { m_controller.requestRender(); });
}

void CompassObject::ShowHelp() {
    member([&] { m_controller.showHelp(); });
}

void CompassObject::VisitWebsite() {
    member([&] { m_controller.openWebLink(QString()); });
}

void CompassObject::MoveTo(int x, int y) {
    member([&] { m_controller.moveTo(x, y); });
}

// The screen may be read from the desktop's portal, which answers later: the
// client's reply waits for it.
bool CompassObject::Fit() {
    auto answer = std::make_shared<std::optional<bool>>();
    auto pending = std::make_shared<QDBusMessage>();
    member([&] {
        m_controller.fitToBeneath([answer, pending, bus = m_bus](bool fitted) {
            if (pending->type() == QDBusMessage::MethodCallMessage)
                bus.send(pending->createReply(fitted));
            else
                *answer = fitted;
        });
    });
    if (answer->has_value())
        return **answer;
    if (calledFromDBus()) {
        setDelayedReply(true);
        *pending = message();
    }
    return false;
}

QList<double> CompassObject::LastFit() {
    const std::optional<FigureFit> fit = m_controller.lastFit();
    if (!fit)
        return {};
    return {fit->centre.x(), fit->centre.y(), fit->spread};
}

QString CompassObject::Measurement() {
    return member([&] { return m_controller.model().measurementJson(); });
}

void CompassObject::Quit() {
    member([&] { m_controller.closeCompass(); });
}

void CompassObject::Hide() {
    member([&] { m_controller.requestHide(); });
}

void CompassObject::UnHide() {
    member([&] { m_controller.showCompass(); });
}

void CompassObject::ShowCalibrationScreen() {
    member([&] { m_controller.showCalibration(); });
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
