#include "doubles/FakeRegistry.h"

namespace {

const QString kProgramKey = QStringLiteral("Software\\Quillfern\\Horolux\\1.0\\");

// Keys and names are found regardless of case, as in the real store.
QString slot(const QString& keyPath, const QString& name)
{
    return keyPath.toLower() + '|' + name.toLower();
}

} // namespace

std::optional<RegValue> FakeRegistry::queryValue(const QString& keyPath, const QString& name)
{
    ++reads;
    auto it = values.constFind(slot(keyPath, name));
    if (it == values.constEnd())
        return std::nullopt;
    return *it;
}

RegWrite FakeRegistry::setValue(const QString& keyPath, const QString& name, const RegValue& value)
{
    ++writes;
    if (refuseWrites)
        return RegWrite::Refused;
    if (answer != RegWrite::Stored)
        return answer;
    values.insert(slot(keyPath, name), value);
    return RegWrite::Stored;
}

std::optional<RegValue> FakeRegistry::get(const QString& subkey, const QString& name)
{
    return queryValue(kProgramKey + subkey, name);
}

void FakeRegistry::put(const QString& subkey, const QString& name, const RegValue& v)
{
    setValue(kProgramKey + subkey, name, v);
}
