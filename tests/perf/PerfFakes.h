#pragma once

#include "perf/IndicatorSink.h"
#include "platform/IClock.h"
#include "platform/IDriveInfo.h"
#include "platform/IPerfSource.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QStringList>

// Figures handed out as set; every read is recorded.
class FakePerfSource : public IPerfSource {
public:
    qint32 cpu = -1;
    qint32 faults = -1;
    qint32 load = -1;
    QStringList reads;

    qint32 readPerfStat(const QString& key, const QString& value) override
    {
        reads << key + QLatin1Char('|') + value;
        if (key == QLatin1String("PerfStats\\StatData")) {
            if (value == QLatin1String("KERNEL\\CPUUsage"))
                return cpu;
            if (value == QLatin1String("VMM\\cPageFaults"))
                return faults;
        }
        return -1;
    }
    qint32 memoryLoad() override { return load; }
};

class FakeDriveInfo : public IDriveInfo {
public:
    bool ok = true;
    DriveFigures figures;
    mutable QStringList asked;

    QString defaultDrive() const override { return QStringLiteral("/"); }
    bool driveSpace(const QString& root, DriveFigures& f) const override
    {
        asked << root;
        if (ok)
            f = figures;
        return ok;
    }
    QStringList listDrives() const override { return {QStringLiteral("/")}; }
};

class RecordingSink : public IndicatorSink {
public:
    QList<QPair<Indicator, int>> shown;

    void showLevel(Indicator bar, int level) override { shown.append({bar, level}); }
    // The last level shown on `bar`, or `none` when it was never set.
    int last(Indicator bar, int none = -999) const
    {
        for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
            if (it->first == bar)
                return it->second;
        }
        return none;
    }
    bool wasShown(Indicator bar) const
    {
        for (const auto& s : shown) {
            if (s.first == bar)
                return true;
        }
        return false;
    }
};

class FakeClock : public IClock {
public:
    QDateTime time = QDateTime(QDate(2000, 1, 3), QTime(9, 0, 0));

    QDateTime now() const override { return time; }
    quint32 tickCount() const override { return 0; }
    void sleepMs(int) override {}
    bool setSystemTimeUtc(const QDateTime&) override { return false; }
};
