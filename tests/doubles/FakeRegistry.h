#pragma once

#include "platform/IRegistry.h"

#include <QMap>

// The settings tree in memory; keys are created by writes, as in the real store.
class FakeRegistry : public IRegistry {
public:
    std::optional<RegValue> queryValue(const QString& keyPath, const QString& name) override
    {
        ++reads;
        auto it = values.constFind(keyPath.toLower() + QLatin1Char('|') + name.toLower());
        if (it == values.constEnd())
            return std::nullopt;
        return *it;
    }
    bool setValue(const QString& keyPath, const QString& name, const RegValue& value) override
    {
        ++writes;
        if (refuseWrites)
            return false;
        values.insert(keyPath.toLower() + QLatin1Char('|') + name.toLower(), value);
        return true;
    }
    bool foundNotUnderstood() const override { return notUnderstood; }
    std::optional<RegValue> get(const QString& subkey, const QString& name)
    {
        return queryValue(QStringLiteral("Software\\Quillfern\\Horolux\\1.0\\") + subkey, name);
    }
    void put(const QString& subkey, const QString& name, const RegValue& v)
    {
        setValue(QStringLiteral("Software\\Quillfern\\Horolux\\1.0\\") + subkey, name, v);
    }

    QMap<QString, RegValue> values;
    bool refuseWrites = false;
    bool notUnderstood = false;
    int reads = 0;
    int writes = 0;
};
