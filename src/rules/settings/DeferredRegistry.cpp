#include "rules/settings/DeferredRegistry.h"

#include "ports/IClock.h"

namespace {

// The store compares key paths and names without regard to case.
bool same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<RegValue> DeferredRegistry::queryValue(const QString& keyPath, const QString& name)
{
    for (const RegEntry& k : m_kept)
        if (same(k.keyPath, keyPath) && same(k.name, name))
            return k.value;
    return m_store.queryValue(keyPath, name);
}

RegWrite DeferredRegistry::setValue(const QString& keyPath, const QString& name,
                                    const RegValue& value)
{
    if (m_kept.isEmpty()) {
        if (!m_holding) {
            const RegWrite result = m_store.setValue(keyPath, name, value);
            if (result == RegWrite::NoResources)
                m_lost = true;
            if (result != RegWrite::Busy)
                return result;
        }
        m_waitingSince = m_clock.tickCount();
    }
    // A value written again while kept is changed where it waits: one write per value.
    for (RegEntry& k : m_kept) {
        if (same(k.keyPath, keyPath) && same(k.name, name)) {
            k.value = value;
            return RegWrite::Busy;
        }
    }
    m_kept.append({keyPath, name, value});
    return RegWrite::Busy;
}

bool DeferredRegistry::flush()
{
    if (m_kept.isEmpty())
        return true;
    const RegWrite result = m_store.setValues(m_kept);
    if (result == RegWrite::Busy)
        return false;
    // Refused writes stay silent, as every refused settings write does.
    if (result == RegWrite::NoResources)
        m_lost = true;
    m_kept.clear();
    m_waitingSince = m_clock.tickCount();
    return true;
}

void DeferredRegistry::retry()
{
    if (m_holding)
        return;
    if (flush() || m_clock.tickCount() - m_waitingSince < GiveUpAfterMs)
        return;
    m_kept.clear();
    m_lost = true;
}

void DeferredRegistry::finish()
{
    const quint32 start = m_clock.tickCount();
    while (!flush()) {
        if (m_clock.tickCount() - start >= FinalBudgetMs) {
            m_kept.clear();
            m_lost = true;
            return;
        }
        m_clock.sleepMs(FinalPauseMs);
    }
}

bool DeferredRegistry::takeLoss()
{
    const bool lost = m_lost;
    m_lost = false;
    return lost;
}
