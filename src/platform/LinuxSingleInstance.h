#pragma once

#include "platform/ISingleInstance.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QSocketNotifier;

// An advisory lock on a file in the user's runtime folder, held for the life of the process
// (the kernel drops it however the process ends), and a local socket beside it on which a
// later start asks the holder to show itself. Nothing is read from the files, so nothing a
// dead copy left behind is ever trusted.
class LinuxSingleInstance : public ISingleInstance {
public:
    // This session: the runtime folder and display from the environment.
    LinuxSingleInstance();
    // `folder` holds the lock; empty when there is no safe place, and then every copy runs.
    LinuxSingleInstance(QString folder, const QByteArray& display);
    ~LinuxSingleInstance() override;
    LinuxSingleInstance(const LinuxSingleInstance&) = delete;
    LinuxSingleInstance& operator=(const LinuxSingleInstance&) = delete;

    bool claim() override;
    void setShowRequestHandler(std::function<void()> handler) override;

    QString lockPath() const;
    QString socketPath() const;

    // `runtimeDir` when it is a folder of `uid` that nobody else may write; otherwise
    // `tmpRoot`/horolux-<uid>, created if missing, used only when it is a real folder of
    // `uid` that nobody else may enter. Empty when neither is safe.
    static QString lockFolder(const QByteArray& runtimeDir, const QString& tmpRoot, uint uid);
    // The display as part of a file name; ":0" and ":0.0" are the same display.
    static QString displayKey(const QByteArray& display);

    // How long a later start keeps trying to reach a copy that holds the lock.
    static constexpr int ContactWaitMs = 2000;

private:
    bool tryToReachHolder() const;
    void startListening();
    void watchRequests();
    void acceptRequests();

    QString m_folder;
    QString m_key;
    int m_lockFd = -1;
    int m_listenFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_handler;
};
