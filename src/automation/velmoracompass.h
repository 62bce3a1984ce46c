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

class CompassModel;
class TfrmMain;

inline constexpr QStringView kCompassPath = u"/VelmoraCompass";
inline constexpr QStringView kUnitsPath = u"/VelmoraCompass/Units";
inline constexpr QStringView kSkinsPath = u"/VelmoraCompass/Skins";
inline constexpr QStringView kEventsInterface = u"Compass.IVelmoraCompassEvents";

class TVelmoraCompass : public TAutomationObject {
    Q_OBJECT
    Q_PROPERTY(double Measurement READ Measurement WRITE SetMeasurement)
    Q_PROPERTY(QString DisplayText READ DisplayText)
    Q_PROPERTY(double DisplayMeasurement READ DisplayMeasurement WRITE SetDisplayMeasurement)
    Q_PROPERTY(QDBusObjectPath Units READ Units)
    Q_PROPERTY(QDBusObjectPath Skins READ Skins)
    Q_PROPERTY(double Version READ Version)
    Q_PROPERTY(bool StickyAngles READ StickyAngles WRITE SetStickyAngles)
    Q_PROPERTY(bool LockAngle READ LockAngle WRITE SetLockAngle)
    Q_PROPERTY(bool LockMeasurement READ LockMeasurement WRITE SetLockMeasurement)
    Q_PROPERTY(double Angle READ Angle WRITE SetAngle)
    Q_PROPERTY(int X READ X)
    Q_PROPERTY(int Y READ Y)
    Q_PROPERTY(bool StayOnTop READ StayOnTop WRITE SetStayOnTop)
    Q_PROPERTY(double Transparency READ Transparency WRITE SetTransparency)
    Q_PROPERTY(double ExternalZoom READ ExternalZoom WRITE SetExternalZoom)
    Q_PROPERTY(int Shape READ Shape WRITE SetShape)
    Q_PROPERTY(bool InscribePolygons READ InscribePolygons WRITE SetInscribePolygons)
    Q_PROPERTY(int MeasurementType READ MeasurementType WRITE SetMeasurementType)

public:
    TVelmoraCompass(TfrmMain& window, QDBusConnection bus, TClientSeen clientSeen);

    [[nodiscard]] double Measurement();
    void SetMeasurement(double value);
    [[nodiscard]] QString DisplayText();
    [[nodiscard]] double DisplayMeasurement();
    void SetDisplayMeasurement(double value);
    [[nodiscard]] QDBusObjectPath Units();
    [[nodiscard]] QDBusObjectPath Skins();
    [[nodiscard]] double Version();
    [[nodiscard]] bool StickyAngles();
    void SetStickyAngles(bool on);
    [[nodiscard]] bool LockAngle();
    void SetLockAngle(bool on);
    [[nodiscard]] bool LockMeasurement();
    void SetLockMeasurement(bool on);
    [[nodiscard]] double Angle();
    void SetAngle(double value);
    [[nodiscard]] int X();
    [[nodiscard]] int Y();
    [[nodiscard]] bool StayOnTop();
    void SetStayOnTop(bool on);
    [[nodiscard]] double Transparency();
    void SetTransparency(double percent);
    [[nodiscard]] double ExternalZoom();
    void SetExternalZoom(double value);
    [[nodiscard]] int Shape();
    void SetShape(int sides);
    [[nodiscard]] bool InscribePolygons();
    void SetInscribePolygons(bool on);
    [[nodiscard]] int MeasurementType();
    void SetMeasurementType(int type);

    // The sink has left the bus: its place is free again.
    void ClientLeft(const QString& uniqueName);

public Q_SLOTS:
    // Compass.IVelmoraCompass
    void Repaint();
    void ShowHelp();
    void VisitWebsite();
    void MoveTo(int X, int Y);
    void Quit();
    void Hide();
    void UnHide();
    void ShowCalibrationScreen();
    // Compass.IConnectionPoint
    void Advise();
    void Unadvise();

private:
    // Sticky angles and the two locks, set as their menu items do.
    void SetMenuSwitch(void (CompassModel::*toggle)(bool), bool on);
    // Sends an event to the sink alone; without a sink nothing happens.
    void Fire(const QString& event);

    TfrmMain& m_window;
    QDBusConnection m_bus;
    QString m_sink; // unique bus name of the connected sink, or empty
};

} // namespace orvanta
