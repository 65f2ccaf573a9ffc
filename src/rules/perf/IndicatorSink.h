#pragma once

// The four bars of the clock face.
enum class Indicator { DSK, CPU, MEM, PF };

// Where the sampler sends its levels; the panel maps each bar onto its control.
class IndicatorSink {
public:
    virtual ~IndicatorSink() = default;
    // Any integer; the bar clamps it to 0..100.
    virtual void showLevel(Indicator bar, int level) = 0;
};
