#pragma once

#include "platform/ILauncher.h"

#include <QString>
#include <QStringList>

class QObject;
class QThread;

// Starts programs directly and hands documents and web addresses to the desktop's opener.
// A program gets its parameters split into words as a shell would, but nothing is expanded
// and no shell runs, so quotes, ;, $( ) and the like reach it literally.
class LinuxLauncher : public ILauncher {
public:
    // `opener` is the program that opens documents and addresses.
    explicit LinuxLauncher(QString opener = QStringLiteral("xdg-open"));
    ~LinuxLauncher() override;
    LinuxLauncher(const LinuxLauncher&) = delete;
    LinuxLauncher& operator=(const LinuxLauncher&) = delete;

    // `show` has no equivalent for a started program here and is ignored.
    bool open(const QString& file, const QString& parameters, const QString& directory,
              int show) override;

    // What `open` would do with a file, decided without starting anything.
    enum class Kind { Missing, NotRunnable, Program, Document, Address };
    struct Target {
        Kind kind = Kind::Missing;
        QString path; // the resolved file, or the address
    };
    static Target classify(const QString& file, const QString& startDirectory);

private:
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& directory);

    QString m_opener;
    // Programs are started from a thread made before the clock lowers its own priority, so
    // they run at the normal priority (an idle-class process could never raise them again).
    QThread* m_spawner = nullptr;
    QObject* m_spawnerContext = nullptr;
};
