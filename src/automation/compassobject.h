// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The application object of the automation model at /VelmoraCompass: the
// compass state and the main commands (Compass.IVelmoraCompass), the events
// OnUpdate and OnQuit (Compass.IVelmoraCompassEvents) and the connection point
// that takes their one sink (Compass.IConnectionPoint). Every member calls the
// operation the menu, the keys or a dialog would call.

#include "automation/automationobject.h"

#include <QDBusConnection>
#include <QDBusObjectPath>

namespace orvanta {

class CompassController;

inline constexpr QStringView kCompassPath = u"/VelmoraCompass";
inline constexpr QStringView kUnitsPath = u"/VelmoraCompass/Units";
inline constexpr QStringView kSkinsPath = u"/VelmoraCompass/Skins";
inline constexpr QStringView kCompassInterface = u"Compass.IVelmoraCompass";
inline constexpr QStringView kUnitsInterface = u"Compass.IVelmoraCompassUnits";
inline constexpr QStringView kSkinsInterface = u"Compass.IVelmoraCompassSkins";
inline constexpr QStringView kEventsInterface = u"Compass.IVelmoraCompassEvents";

class CompassObject : public AutomationObject {
    Q_OBJECT
    Q_PROPERTY(double Measurement READ measurement WRITE setMeasurement)
    Q_PROPERTY(QString DisplayText READ displayText)
    Q_PROPERTY(double DisplayMeasurement READ displayMeasurement WRITE setDisplayMeasurement)
    Q_PROPERTY(QDBusObjectPath Units READ units)
    Q_PROPERTY(QDBusObjectPath Skins READ skins)
    Q_PROPERTY(double Version READ version)
    Q_PROPERTY(bool StickyAngles READ stickyAngles WRITE setStickyAngles)
    Q_PROPERTY(bool LockAngle READ lockAngle WRITE setLockAngle)
    Q_PROPERTY(bool LockMeasurement READ lockMeasurement WRITE setLockMeasurement)
    Q_PROPERTY(double Angle READ angle WRITE setAngle)
    Q_PROPERTY(int X READ x)
    Q_PROPERTY(int Y READ y)
    Q_PROPERTY(bool StayOnTop READ stayOnTop WRITE setStayOnTop)
    Q_PROPERTY(double Transparency READ transparency WRITE setTransparency)
    Q_PROPERTY(double ExternalZoom READ externalZoom WRITE setExternalZoom)
    Q_PROPERTY(int Shape READ shape WRITE setShape)
    Q_PROPERTY(bool InscribePolygons READ inscribePolygons WRITE setInscribePolygons)
    Q_PROPERTY(int MeasurementType READ measurementType WRITE setMeasurementType)

public:
    CompassObject(CompassController& controller, QDBusConnection bus, ClientSeen clientSeen);

    [[nodiscard]] double measurement();
    void setMeasurement(double value);
    [[nodiscard]] QString displayText();
    [[nodiscard]] double displayMeasurement();
    void setDisplayMeasurement(double value);
    [[nodiscard]] QDBusObjectPath units();
    [[nodiscard]] QDBusObjectPath skins();
    [[nodiscard]] double version();
    [[nodiscard]] bool stickyAngles();
    void setStickyAngles(bool on);
    [[nodiscard]] bool lockAngle();
    void setLockAngle(bool on);
    [[nodiscard]] bool lockMeasurement();
    void setLockMeasurement(bool on);
    [[nodiscard]] double angle();
    void setAngle(double value);
    [[nodiscard]] int x();
    [[nodiscard]] int y();
    [[nodiscard]] bool stayOnTop();
    void setStayOnTop(bool on);
    [[nodiscard]] double transparency();
    void setTransparency(double percent);
    [[nodiscard]] double externalZoom();
    void setExternalZoom(double value);
    [[nodiscard]] int shape();
    void setShape(int sides);
    [[nodiscard]] bool inscribePolygons();
    void setInscribePolygons(bool on);
    [[nodiscard]] int measurementType();
    void setMeasurementType(int type);

    // The sink has left the bus: its place is free again.
    void clientLeft(const QString& uniqueName);

public Q_SLOTS:
    // Compass.IVelmoraCompass
    void Repaint();
    void ShowHelp();
    void VisitWebsite();
    void MoveTo(int x, int y);
    void Quit();
    void Hide();
    void UnHide();
    void ShowCalibrationScreen();
    bool Fit();
    QList<double> LastFit();
    // Every quantity as JSON (the property Measurement is the spread).
    QString Measurement();
    // Compass.IConnectionPoint
    void Advise();
    void Unadvise();

private:
    // Sends an event to the sink alone; without a sink nothing happens.
    void fire(const QString& event);

    CompassController& m_controller;
    QDBusConnection m_bus;
    QString m_sink; // unique bus name of the connected sink, or empty
};

} // namespace orvanta
