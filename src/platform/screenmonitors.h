// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The monitors as the system reports them: geometry, the physical size from
// EDID, the EDID identity and the connector, behind a small interface so that
// whatever reads them runs headless in tests.

#include "model/monitorscale.h"

#include <QObject>

class QScreen;

namespace orvanta {

class MonitorSource {
public:
    virtual ~MonitorSource() = default;
    [[nodiscard]] virtual MonitorList monitors() const = 0;
};

// The QScreens of the application. Emits changed() when a monitor is added or
// removed or one changes its geometry or size.
class ScreenMonitors : public QObject, public MonitorSource {
    Q_OBJECT

public:
    explicit ScreenMonitors(QObject* parent = nullptr);
    [[nodiscard]] MonitorList monitors() const override;

Q_SIGNALS:
    void changed();

private:
    void watch(QScreen* screen);
};

} // namespace orvanta
