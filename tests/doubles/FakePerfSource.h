#pragma once

#include "ports/IPerfSource.h"

#include <QStringList>

// Figures handed out as set (-1, unreadable, until then); every read is recorded.
class FakePerfSource : public IPerfSource {
public:
    qint32 readPerfStat(const QString& key, const QString& value) override;
    qint32 memoryLoad() override;

    qint32 cpu = -1;
    qint32 faults = -1;
    qint32 load = -1;
    QStringList reads;
};
