#include "rules/settings/SettingsStore.h"

#include "core/LosslessText.h"
#include "ports/IRegistry.h"
#include "ports/IScreen.h"
#include "rules/settings/SettingsTable.h"

namespace {

// Cuts UTF-8 text to at most `max` bytes without splitting a character.
QByteArray cutUtf8(const QByteArray& text, int max)
{
    if (text.size() <= max)
        return text;
    int end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.left(end);
}

} // namespace

std::optional<QByteArray> SettingsStore::readText(const QString& subkey, const QString& name) const
{
    const auto v = m_registry.queryValue(SettingsKeyRoot + subkey, name);
    if (!v)
        return std::nullopt;
    switch (v->type) {
    case RegValue::Type::Sz: {
        QByteArray text = v->text;
        const int nul = text.indexOf('\0');
        if (nul >= 0)
            text.truncate(nul);
        return cutUtf8(text, MaxTextBytes);
    }
    case RegValue::Type::Dword:
        // An integer read as text gives its low-order byte only.
        return QByteArray::number(v->dword & 0xFFu);
    case RegValue::Type::Other:
        break;
    }
    return std::nullopt;
}

QString SettingsStore::ReadRegString(const QString& subkey, const QString& name,
                                     const QString& def) const
{
    const std::optional<QByteArray> text = readText(subkey, name);
    return text ? QString::fromUtf8(*text) : def;
}

void SettingsStore::WriteRegString(const QString& subkey, const QString& name,
                                   const QString& value) const
{
    m_registry.setValue(SettingsKeyRoot + subkey, name, RegValue::fromText(value.toUtf8()));
}

QString SettingsStore::ReadRegFileName(const QString& subkey, const QString& name,
                                       const QString& def) const
{
    const std::optional<QByteArray> text = readText(subkey, name);
    return text ? LosslessText::decode(*text) : def;
}

void SettingsStore::WriteRegFileName(const QString& subkey, const QString& name,
                                     const QString& value) const
{
    m_registry.setValue(SettingsKeyRoot + subkey, name,
                        RegValue::fromText(LosslessText::encode(value)));
}

qint32 SettingsStore::ReadRegInt(const QString& subkey, const QString& name, qint32 def) const
{
    const auto v = m_registry.queryValue(SettingsKeyRoot + subkey, name);
    if (!v || v->type != RegValue::Type::Dword)
        return def;
    return static_cast<qint32>(v->dword);
}

void SettingsStore::WriteRegInt(const QString& subkey, const QString& name, qint32 value) const
{
    m_registry.setValue(SettingsKeyRoot + subkey, name,
                        RegValue::fromDword(static_cast<quint32>(value)));
}

bool SettingsStore::LoadWindowPlacement(const QString& subkey, PlaceableWindow& window,
                                        bool withSize, const IScreen& screen) const
{
    // The section is the caller's: each placed window has its own.
    const auto read = [&](const Settings::IntSetting& value) {
        return ReadRegInt(subkey, value.name, value.defaultValue);
    };
    const qint32 top = read(Settings::WindowTop);
    if (top >= screen.height())
        return false;
    int state = read(Settings::WindowState) & 0xFF;
    // A state we do not know is taken as normal.
    if (state > Settings::WindowState.max)
        state = Settings::WindowState.defaultValue;
    if (state != 1)
        window.setWindowState(state);
    if (state == 2)
        return true;
    window.setTop(top);
    const qint32 left = read(Settings::WindowLeft);
    if (left < screen.width())
        window.setLeft(left);
    if (withSize) {
        const qint32 width = read(Settings::WindowWidth);
        const qint32 height = read(Settings::WindowHeight);
        if (width >= Settings::WindowWidth.min)
            window.setWidth(width);
        if (height >= Settings::WindowHeight.min)
            window.setHeight(height);
    }
    return true;
}

void SettingsStore::SaveWindowPlacement(const QString& subkey, const PlaceableWindow& window,
                                        bool withSize) const
{
    const int state = window.windowState();
    WriteRegInt(subkey, Settings::WindowState.name, state);
    if (state != 0)
        return;
    WriteRegInt(subkey, Settings::WindowTop.name, window.top());
    WriteRegInt(subkey, Settings::WindowLeft.name, window.left());
    if (withSize) {
        WriteRegInt(subkey, Settings::WindowWidth.name, window.width());
        WriteRegInt(subkey, Settings::WindowHeight.name, window.height());
    }
}
