#pragma once

#include "rules/perf/IndicatorSink.h"

#include <QString>

class IClock;
class IDriveInfo;
class IPerfSource;
struct ClockReading;
struct PerfTotals;
struct SettingsInForce;

// Takes the periodic performance samples and keeps the running totals; it also raises the
// page fault ceiling in the settings when a faster rate turns up.
class PerfSampler {
public:
    // `clock` is only used to stamp the start of monitoring; without one the stamp comes from
    // the last decoded clock time in `reading`.
    PerfSampler(PerfTotals& totals, SettingsInForce& settings, const ClockReading& reading,
                IPerfSource& perf, IDriveInfo& drives, IndicatorSink& bars,
                IClock* clock = nullptr);

    // Starts the processor statistic and marks the start of the monitored time.
    void StartStat();
    void StopStat();
    // Records the total size of the drive at `root` in DriveTotalKB; false when it cannot be read.
    bool GetDriveSpace(const QString& root);
    // One sample of all four figures; called every UpdateInterval ticks after the clock update.
    void UpdateStatus();

private:
    PerfTotals& m_totals;
    SettingsInForce& m_settings;
    const ClockReading& m_reading;
    IPerfSource& m_perf;
    IDriveInfo& m_drives;
    IndicatorSink& m_bars;
    IClock* m_clock;
};
