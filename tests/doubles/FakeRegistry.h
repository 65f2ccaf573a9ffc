#pragma once

#include "ports/IRegistry.h"

#include <QMap>

// The settings tree in memory; keys are created by writes, as in the real store.
class FakeRegistry : public IRegistry {
public:
    std::optional<RegValue> queryValue(const QString& keyPath, const QString& name) override;
    RegWrite setValue(const QString& keyPath, const QString& name, const RegValue& value) override;
    bool foundNotUnderstood() const override { return notUnderstood; }
    // The same, under the program's own key.
    std::optional<RegValue> get(const QString& subkey, const QString& name);
    void put(const QString& subkey, const QString& name, const RegValue& v);

    QMap<QString, RegValue> values;
    bool refuseWrites = false;
    RegWrite answer = RegWrite::Stored; // what every write answers, storing only when Stored
    bool notUnderstood = false;
    int reads = 0;
    int writes = 0;
};
