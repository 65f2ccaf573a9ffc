#pragma once

#include "ports/ISingleInstance.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <map>
#include <memory>

class QSocketNotifier;
class QTimer;

// An advisory lock on a file in a folder only this user controls, held for the life of the
// process (the kernel drops it however the process ends), and a local socket beside it on
// which a later start on the same display asks the holder to show itself. The holder writes
// its display into the lock file; a later start reads it only while the lock is held, so
// nothing a dead copy left behind is ever trusted.
// The same socket carries requests (ReminderWire frames) from any display, each answered with
// a reply. The holder reads them without blocking, gives each caller a deadline and a size
// limit, and answers the requests that arrived together after one call of its handler.
class LinuxSingleInstance : public ISingleInstance {
public:
    // Where the lock may go (see lockFolder); an empty one is left out.
    struct Places {
        QString home{};
        QString runUserRoot{};
        QString tmpRoot{};
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
    void setRequestHandler(RequestBatchHandler handler) override;
    Claim deliver(const ReminderRequest& request, ReminderReply& reply) override;

    // The first folder of `uid` that nobody else may write: a private folder in HOME (made if
    // missing), the system's runtime folder for the user, or one in the shared temporary folder
    // (made if missing). Empty when none is safe.
    static QString lockFolder(const Places& places, uint uid);
    // The display as a comparable name; ":0" and ":0.0" are the same display.
    static QString displayKey(const QByteArray& display);

    // How long a later start keeps trying to reach a copy that holds the lock.
    static constexpr int ContactWaitMs = 2000;
    // How long a start waits while reminder commands hold the lock in turn (hundreds may run
    // at once from a script).
    static constexpr int QueueWaitMs = 60000;
    // How long the listener rests when the process is out of descriptors.
    static constexpr int ListenRetryMs = 1000;
    // A caller has this long from connecting to send its whole request...
    static constexpr int RequestWaitMs = 2000;
    // ...and this long to take the whole reply.
    static constexpr int ReplyTakeMs = 10000;
    // How long a caller waits for the reply once its request is sent.
    static constexpr int ReplyWaitMs = 20000;
    // Callers served at once; more wait in the socket's queue.
    static constexpr int MaxCallers = 64;
    // Reply bytes held for callers that have not taken them yet. A long reply beyond this is
    // refused (a listing changes nothing, so the caller may ask again); equal replies are kept
    // once, so callers that never read cannot multiply the clock's memory.
    static constexpr qsizetype MaxPendingReplyBytes = 64 * 1024 * 1024;
    // Replies up to this size are always sent: every reply to a change is far smaller.
    static constexpr qsizetype SmallReplyBytes = 64 * 1024;

private:
    // The lock file, opened in the private folder; -1 when there is no safe place for it.
    int openLockFile();
    bool readHolderDisplay(int lockFd, QByteArray& display) const;
    bool tryToReachHolder() const;
    void socketAddress(struct sockaddr_un& address) const;
    void startListening();
    void watchRequests();
    void acceptRequests();
    void pauseListening();
    bool exchange(const QByteArray& request, ReminderReply& reply, bool& sent, bool& busy) const;

    struct Caller;
    void readCaller(quint64 id);
    void writeCaller(quint64 id);
    void answer(quint64 id, const ReminderReply& reply);
    QByteArray pendingReply(const QByteArray& encoded) const;
    bool callerGone(quint64 id) const;
    void dropCaller(quint64 id);
    void sweepCallers();
    void postBatch();
    void runBatch();

    QString m_folder;
    QByteArray m_display;
    QString m_key;
    int m_dirFd = -1;
    int m_lockFd = -1;
    int m_listenFd = -1;
    bool m_pauseReported = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_handler;
    RequestBatchHandler m_requestHandler;
    std::map<quint64, std::unique_ptr<Caller>> m_callers;
    quint64 m_nextCaller = 1;
    // Callers whose complete request waits for the handler, in arrival order.
    QList<quint64> m_waiting;
    bool m_showWaiting = false;
    std::unique_ptr<QTimer> m_batchTimer;
    std::unique_ptr<QTimer> m_sweepTimer;
};
