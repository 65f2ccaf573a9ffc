#pragma once

#include "ports/ILauncher.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QObject;
class QThread;

// Starts programs directly and hands documents and web addresses to the desktop's opener.
// A program gets its parameters split into words as a shell would, but nothing is expanded
// and no shell runs, so quotes, ;, $( ) and the like reach it literally. Names are passed to
// the system byte for byte (see LosslessText), so a file name that is not UTF-8 still works.
class LinuxLauncher : public ILauncher {
public:
    // `opener` is the program that opens documents and addresses (looked up on PATH when it
    // has no '/'). Its verdict is awaited for at most `openerWaitMs`, with events handled
    // meanwhile; an opener still running then is taken to have opened the file.
    explicit LinuxLauncher(QString opener = QStringLiteral("xdg-open"), int openerWaitMs = 3000);
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
    struct Spawn {
        QByteArray program;
        QList<QByteArray> arguments; // argv[0] included
        QByteArray directory;
        bool watch = false; // report the exit status through the returned descriptor
    };
    // Starts detached; -1 when it could not start. Watched: a descriptor that reports the
    // exit status. Otherwise 0 on success.
    int startDetached(const Spawn& spawn);
    bool awaitOpener(int statusFd);

    QString m_opener;
    int m_openerWaitMs;
    // Programs are started from a thread made before the clock lowers its own priority, so
    // they run at the normal priority (an idle-class process could never raise them again).
    QThread* m_spawner = nullptr;
    QObject* m_spawnerContext = nullptr;
};
