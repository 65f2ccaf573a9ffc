#pragma once

#include "rules/perf/IndicatorSink.h"

#include <QList>
#include <QPair>

// Keeps every level shown, in order.
class RecordingSink : public IndicatorSink {
public:
    void showLevel(Indicator bar, int level) override;
    // The last level shown on `bar`, or `none` when it was never set.
    int last(Indicator bar, int none = -999) const;
    bool wasShown(Indicator bar) const;

    QList<QPair<Indicator, int>> shown;
};
