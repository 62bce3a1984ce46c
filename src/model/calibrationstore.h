// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The user's calibrations, one per monitor, in "calibration.ini" in the user's
// configuration folder (beside the program when portable). Each section holds
// one monitor's identity and its measured pixels per inch; the file is
// rewritten whole on every save.

#include "model/monitorscale.h"

#include <QString>
#include <optional>
#include <vector>

namespace orvanta {

class CalibrationStore {
public:
    // Reads the file; a missing or unreadable one gives no calibrations (an
    // unreadable one is logged). Entries without a usable density are skipped.
    explicit CalibrationStore(QString fileName);

    [[nodiscard]] std::optional<PixelDensity> find(const MonitorIdentity& monitor) const;
    // Replaces the monitor's calibration (under its current identity) or adds it.
    void set(const MonitorIdentity& monitor, PixelDensity density);
    void remove(const MonitorIdentity& monitor);

    // Writes the file atomically. False, with the reason in `error`, when it
    // cannot be written; the calibrations in memory stay.
    bool save(QString* error = nullptr) const;

    [[nodiscard]] const QString& fileName() const { return m_fileName; }

private:
    struct Entry {
        MonitorIdentity monitor;
        PixelDensity density;
    };

    QString m_fileName;
    std::vector<Entry> m_entries;
};

} // namespace orvanta
