#include "rules/settings/SettingsTable.h"

#include "rules/settings/SettingsStore.h"

namespace Settings {

qint32 readInt(const SettingsStore& store, const IntSetting& setting)
{
    const qint32 value = store.ReadRegInt(setting.section, setting.name, setting.defaultValue);
    if (setting.range == Range::DefaultOutside && (value < setting.min || value > setting.max))
        return setting.defaultValue;
    return value;
}

bool readFlag(const SettingsStore& store, const FlagSetting& setting)
{
    return store.ReadRegInt(setting.section, setting.name, setting.defaultValue ? 1 : 0) == 1;
}

QString readText(const SettingsStore& store, const TextSetting& setting)
{
    return readText(store, setting, setting.defaultValue);
}

QString readText(const SettingsStore& store, const TextSetting& setting, const QString& fallback)
{
    if (setting.fileName)
        return store.ReadRegFileName(setting.section, setting.name, fallback);
    return store.ReadRegString(setting.section, setting.name, fallback);
}

void write(const SettingsStore& store, const IntSetting& setting, qint32 value)
{
    store.WriteRegInt(setting.section, setting.name, value);
}

void write(const SettingsStore& store, const FlagSetting& setting, bool on)
{
    store.WriteRegInt(setting.section, setting.name, on ? 1 : 0);
}

void write(const SettingsStore& store, const TextSetting& setting, const QString& value)
{
    if (setting.fileName)
        store.WriteRegFileName(setting.section, setting.name, value);
    else
        store.WriteRegString(setting.section, setting.name, value);
}

} // namespace Settings
