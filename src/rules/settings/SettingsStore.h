#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class IRegistry;
class IScreen;

// What the window placement functions need of a window.
class PlaceableWindow {
public:
    virtual ~PlaceableWindow() = default;
    // 0 normal, 1 minimised, 2 maximised.
    virtual int windowState() const = 0;
    virtual void setWindowState(int state) = 0;
    virtual int top() const = 0;
    virtual int left() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setTop(int top) = 0;
    virtual void setLeft(int left) = 0;
    virtual void setWidth(int width) = 0;
    virtual void setHeight(int height) = 0;
};

// The typed settings of the program under Software\Quillfern\Horolux\1.0\. Every call opens,
// reads or writes one value and closes again; failures end in the default or in nothing
// being stored, silently.
class SettingsStore {
public:
    static inline const QString SettingsKeyRoot =
        QStringLiteral("Software\\Quillfern\\Horolux\\1.0\\");
    // Texts longer than this are cut when read (never past the buffer).
    static constexpr int MaxTextBytes = 4095;

    explicit SettingsStore(IRegistry& registry) : m_registry(registry) {}

    QString ReadRegString(const QString& subkey, const QString& name, const QString& def) const;
    void WriteRegString(const QString& subkey, const QString& name, const QString& value) const;
    // The same for a file name: a byte that is not UTF-8 is carried through the text (see
    // LosslessText) and written back as the same byte.
    QString ReadRegFileName(const QString& subkey, const QString& name, const QString& def) const;
    void WriteRegFileName(const QString& subkey, const QString& name, const QString& value) const;
    qint32 ReadRegInt(const QString& subkey, const QString& name, qint32 def) const;
    void WriteRegInt(const QString& subkey, const QString& name, qint32 value) const;

    bool LoadWindowPlacement(const QString& subkey, PlaceableWindow& window, bool withSize,
                             const IScreen& screen) const;
    void SaveWindowPlacement(const QString& subkey, const PlaceableWindow& window,
                             bool withSize) const;

private:
    std::optional<QByteArray> readText(const QString& subkey, const QString& name) const;

    IRegistry& m_registry;
};
