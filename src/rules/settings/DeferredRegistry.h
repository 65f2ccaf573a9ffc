#pragma once

#include "ports/IRegistry.h"

#include <QList>

class IClock;

// Stands between the program and a settings store that another process may hold locked, so
// that no call ever waits for it. A write the store answers Busy is kept here, reads of that
// value are answered from here, and later writes queue behind it so they land in the order
// they were made; all that are kept go to the store as one change. retry() tries them again
// without waiting; writes that could not land within
// GiveUpAfterMs, and writes refused for lack of file descriptors, count as lost.
class DeferredRegistry : public IRegistry {
public:
    // Long enough for another copy's save or a backup tool; short enough that a user who
    // changed something still has the program running when it is reported lost.
    static constexpr quint32 GiveUpAfterMs = 10000;
    // At the end of the program the kept writes get one more chance, within this much, so
    // the exit stays quick.
    static constexpr quint32 FinalBudgetMs = 1000;
    static constexpr int FinalPauseMs = 50;

    DeferredRegistry(IRegistry& store, IClock& clock) : m_store(store), m_clock(clock) {}

    std::optional<RegValue> queryValue(const QString& keyPath, const QString& name) override;
    // Busy means kept here for later.
    RegWrite setValue(const QString& keyPath, const QString& name, const RegValue& value) override;
    bool foundNotUnderstood() const override { return m_store.foundNotUnderstood(); }
    QString location() const override { return m_store.location(); }

    // From now on every write is kept here, to go to the store in one change at finish():
    // the values written at the end of the program then cost one rewrite of the file.
    void holdWrites() { m_holding = true; }
    // Tries the kept writes again, without waiting; gives them up once GiveUpAfterMs have
    // passed since the store last took one.
    void retry();
    // The last attempt, at the end of the program: whatever is still kept after
    // FinalBudgetMs is lost.
    void finish();
    int pending() const { return int(m_kept.size()); }
    // Whether writes were lost since the last call.
    bool takeLoss();

private:
    // False when the store is still busy; the kept writes then wait for the next try.
    bool flush();

    IRegistry& m_store;
    IClock& m_clock;
    QList<RegEntry> m_kept;
    quint32 m_waitingSince = 0; // when the store last took a write, while some are kept
    bool m_lost = false;
    bool m_holding = false;
};
