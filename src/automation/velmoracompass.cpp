#include "automation/velmoracompass.h"

#include "app/mainwindow.h"
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

TVelmoraCompass::TVelmoraCompass(TfrmMain& window, QDBusConnection bus, TClientSeen clientSeen)
    : TAutomationObject(std::move(clientSeen)), m_window(window), m_bus(std::move(bus)) {
    connect(&m_window, &TfrmMain::Updated, this, [this] { Fire(QStringLiteral("OnUpdate")); });
    connect(&m_window, &TfrmMain::Quitting, this, [this] { Fire(QStringLiteral("OnQuit")); });
}

// ---------------------------------------------------------------- state

void TVelmoraCompass::SetMenuSwitch(void (CompassModel::*toggle)(bool), bool on) {
    // As the menu item: the model saves the options, the menu follows.
    Member([&] {
        (m_window.Model().*toggle)(on);
        m_window.OptionsChanged();
    });
}

double TVelmoraCompass::Measurement() {
    return Member([&] { return double(m_window.Model().state.FMeasurement); });
}

void TVelmoraCompass::SetMeasurement(double value) {
    Member([&] {
        m_window.Model().state.FMeasurement = finiteFloat(value, u"Measurement");
        m_window.RequestRender();
    });
}

QString TVelmoraCompass::DisplayText() {
    return Member([&] { return m_window.Model().state.FDisplayText; });
}

double TVelmoraCompass::DisplayMeasurement() {
    return Member([&] { return double(m_window.Model().state.FDisplayValue); });
}

void TVelmoraCompass::SetDisplayMeasurement(double value) {
    Member([&] {
        // A radius in the selected unit whatever is shown, read back through
        // the same text a typed entry would give.
        CompassModel& model = m_window.Model();
        const float v = finiteFloat(value, u"DisplayMeasurement");
        model.state.FDisplayText = formatGeneral(v, model.decimalSeparator);
        model.state.ChangeMeasurement(model.UnitsToPixels(model.state.FDisplayText) -
                                      model.state.FMeasurement);
        m_window.RequestRender();
    });
}

QDBusObjectPath TVelmoraCompass::Units() {
    return Member([&] { return QDBusObjectPath(kUnitsPath.toString()); });
}

QDBusObjectPath TVelmoraCompass::Skins() {
    return Member([&] { return QDBusObjectPath(kSkinsPath.toString()); });
}

double TVelmoraCompass::Version() {
    return Member([&] { return kModelVersion; });
}

bool TVelmoraCompass::StickyAngles() {
    return Member([&] { return m_window.Options().StickyAngle; });
}

void TVelmoraCompass::SetStickyAngles(bool on) {
    SetMenuSwitch(&CompassModel::SetStickyAngle, on);
}

bool TVelmoraCompass::LockAngle() {
    return Member([&] { return m_window.Options().LockAngle; });
}

void TVelmoraCompass::SetLockAngle(bool on) {
    SetMenuSwitch(&CompassModel::SetLockAngle, on);
}

bool TVelmoraCompass::LockMeasurement() {
    return Member([&] { return m_window.Options().LockMeasurement; });
}

void TVelmoraCompass::SetLockMeasurement(bool on) {
    SetMenuSwitch(&CompassModel::SetLockMeasurement, on);
}

double TVelmoraCompass::Angle() {
    return Member([&] { return double(m_window.Model().state.FAngle); });
}

void TVelmoraCompass::SetAngle(double value) {
    Member([&] {
        m_window.Model().state.SetAngle(finiteFloat(value, u"Angle"));
        m_window.RequestRender();
    });
}

int TVelmoraCompass::X() {
    return Member([&] { return int(m_window.Options().X); });
}

int TVelmoraCompass::Y() {
    return Member([&] { return int(m_window.Options().Y); });
}

bool TVelmoraCompass::StayOnTop() {
    return Member([&] { return m_window.Options().StayOnTop; });
}

void TVelmoraCompass::SetStayOnTop(bool on) {
    Member([&] { m_window.SetStayOnTop(on); });
}

double TVelmoraCompass::Transparency() {
    return Member([&] { return double(m_window.GetOpacity()); });
}

void TVelmoraCompass::SetTransparency(double percent) {
    Member([&] {
        // Infinities clamp like any large value; NaN has no nearest integer.
        if (std::isnan(percent))
            throw OrvantaError(QStringLiteral("Transparency must be a number, not nan"));
        long double n = roundHalfEven(percent);
        if (n > kMaxOpacity)
            n = kMaxOpacity;
        if (n <= kMinOpacity)
            n = kMinOpacity;
        m_window.SetOpacity(int(n));
    });
}

double TVelmoraCompass::ExternalZoom() {
    return Member([&] { return double(m_window.Model().state.FExternalZoom); });
}

void TVelmoraCompass::SetExternalZoom(double value) {
    Member([&] {
        m_window.Model().state.FExternalZoom = finiteFloat(value, u"ExternalZoom");
        m_window.RequestRender();
    });
}

int TVelmoraCompass::Shape() {
    return Member([&] { return int(m_window.Options().Shape); });
}

void TVelmoraCompass::SetShape(int sides) {
    Member([&] {
        m_window.Model().SetShape(sides >= kCircle && sides <= kLargestShape ? sides : kCircle);
        // Unlike the menu, a client's choice checks no shape item.
        for (QAction* item : ShapeActions(m_window.Menu()))
            item->setChecked(false);
        m_window.RequestRender();
    });
}

bool TVelmoraCompass::InscribePolygons() {
    return Member([&] { return m_window.Options().Scribe == 1; });
}

void TVelmoraCompass::SetInscribePolygons(bool on) {
    Member([&] {
        m_window.Model().SetScribe(on);
        // The menu follows, so that it never shows the other mode as chosen.
        if (QActionGroup* modes = m_window.Menu().scribeGroup)
            for (QAction* item : modes->actions())
                item->setChecked(item->data().toInt() == (on ? 1 : 0));
        m_window.RequestRender();
    });
}

int TVelmoraCompass::MeasurementType() {
    return Member([&] { return int(m_window.Options().MeasureType); });
}

void TVelmoraCompass::SetMeasurementType(int type) {
    Member([&] { m_window.SetMeasureType(type >= kRadius && type <= kArea ? type : kRadius); });
}

// ---------------------------------------------------------------- commands

void TVelmoraCompass::Repaint() {
    Member([&] { m_window.RequestRender(); });
}

void TVelmoraCompass::ShowHelp() {
    Member([&] { m_window.ShowHelp(); });
}

void TVelmoraCompass::VisitWebsite() {
    Member([&] { m_window.OpenWebLink(QString()); });
}

void TVelmoraCompass::MoveTo(int X, int Y) {
    Member([&] {
        m_window.Model().state.MoveTo(X, Y);
        m_window.RequestRender();
    });
}

void TVelmoraCompass::Quit() {
    Member([&] { m_window.Close(); });
}

void TVelmoraCompass::Hide() {
    Member([&] { m_window.RequestHide(); });
}

void TVelmoraCompass::UnHide() {
    Member([&] { m_window.ShowCompass(); });
}

void TVelmoraCompass::ShowCalibrationScreen() {
    Member([&] { m_window.ShowCalibrationScreen(); });
}

// ---------------------------------------------------------------- events

void TVelmoraCompass::Advise() {
    NoteCaller();
    if (!calledFromDBus())
        return;
    const QString caller = message().service();
    if (!m_sink.isEmpty() && m_sink != caller) {
        SendError(kCannotConnectError, cannotConnectText());
        return;
    }
    m_sink = caller;
}

void TVelmoraCompass::Unadvise() {
    NoteCaller();
    if (!calledFromDBus())
        return;
    if (m_sink.isEmpty() || m_sink != message().service()) {
        SendError(kNoConnectionError, noConnectionText());
        return;
    }
    m_sink.clear();
}

void TVelmoraCompass::ClientLeft(const QString& uniqueName) {
    if (uniqueName == m_sink)
        m_sink.clear();
}

void TVelmoraCompass::Fire(const QString& event) {
    if (m_sink.isEmpty())
        return;
    m_bus.send(QDBusMessage::createTargetedSignal(m_sink, kCompassPath.toString(),
                                                  kEventsInterface.toString(), event));
}

} // namespace orvanta
