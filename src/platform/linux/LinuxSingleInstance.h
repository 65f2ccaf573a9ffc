#pragma once

#include "ports/ISingleInstance.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QSocketNotifier;

// An advisory lock on a file in a folder only this user controls, held for the life of the
// process (the kernel drops it however the process ends), and a local socket beside it on
// which a later start on the same display asks the holder to show itself. The holder writes
// its display into the lock file; a later start reads it only while the lock is held, so
// nothing a dead copy left behind is ever trusted.
class LinuxSingleInstance : public ISingleInstance {
public:
    // Where the lock may go (see lockFolder); an empty one is left out.
    struct Places {
        QByteArray runtimeDir{};
        QString tmpRoot{};
        QString home{};
        QString runUserRoot{};
    };

    // This session: the places and display from the environment.
    LinuxSingleInstance();
    // `folder` holds the lock; empty when there is no safe place.
    LinuxSingleInstance(QString folder, const QByteArray& display);
    ~LinuxSingleInstance() override;
    LinuxSingleInstance(const LinuxSingleInstance&) = delete;
    LinuxSingleInstance& operator=(const LinuxSingleInstance&) = delete;

    Claim claim() override;
    void setShowRequestHandler(std::function<void()> handler) override;

    // The first folder of `uid` that nobody else may write: the runtime folder, the system's
    // runtime folder for the user, a private folder in HOME, or one in the shared temporary
    // folder (made if missing). Empty when none is safe.
    static QString lockFolder(const Places& places, uint uid);
    // The display as a comparable name; ":0" and ":0.0" are the same display.
    static QString displayKey(const QByteArray& display);

    // How long a later start keeps trying to reach a copy that holds the lock.
    static constexpr int ContactWaitMs = 2000;
    // How long the listener rests when the process is out of descriptors.
    static constexpr int ListenRetryMs = 1000;

private:
    bool readHolderDisplay(int lockFd, QByteArray& display) const;
    bool tryToReachHolder() const;
    void socketAddress(struct sockaddr_un& address) const;
    void startListening();
    void watchRequests();
    void acceptRequests();
    void pauseListening();

    QString m_folder;
    QByteArray m_display;
    QString m_key;
    int m_dirFd = -1;
    int m_lockFd = -1;
    int m_listenFd = -1;
    bool m_pauseReported = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_handler;
};
