#include "doubles/RecordingSink.h"

void RecordingSink::showLevel(Indicator bar, int level)
{
    shown.append({bar, level});
}

int RecordingSink::last(Indicator bar, int none) const
{
    for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
        if (it->first == bar)
            return it->second;
    }
    return none;
}

bool RecordingSink::wasShown(Indicator bar) const
{
    for (const auto& s : shown) {
        if (s.first == bar)
            return true;
    }
    return false;
}
