#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class IClock;
class IClockSetter;
class TClientSocket;
class TSocketBase;
struct SettingsInForce;
enum TSockInfo : int;

// Corrects the system clock from a time server (RFC 868 over TCP): connects to the configured
// host's "time" service, takes the four bytes it sends and sets the clock to the server's time.
// Every step is reported through `step`, for the date line.
class TimeClient : public QObject {
    Q_OBJECT
public:
    // Seconds allowed for each lookup, the connect and the reply.
    static constexpr int TimeOutSeconds = 10;
    // How long a refusal's report stays before the system's reason for it replaces it.
    static constexpr int ReasonAfterMs = 4000;

    // Who started an update: only the user is asked about a step beyond the usual limit.
    enum Trigger { Automatic, ByHand };

    // Reads TimeServerHost from `settings` and clears AutoUpdate there after a correction.
    TimeClient(SettingsInForce& settings, IClock& clock, IClockSetter& setter,
               QObject* parent = nullptr);
    ~TimeClient() override;

    // Starts one update; ignored while one is still under way. Returns after a 2-second wait
    // (during which the event loop runs) once the connection has been started; the rest
    // happens in the socket's events.
    void BeginTimeUpdate(Trigger trigger = Automatic);
    bool updating() const { return m_updating; }

    // Said when the clock is to be set while an earlier setting still waits for the system.
    static QString settingInProgress() { return tr("Clock setting already in progress"); }

    // Puts a question (the whole text) to the user: true for yes. Without one, no.
    void setConfirm(std::function<bool(const QString&)> confirm) { m_confirm = std::move(confirm); }

    // The service connected to, "time" unless changed (tests use a port number).
    void setService(const QString& service) { m_service = service; }
    // None before the first update.
    TClientSocket* ClientSocket() const { return m_socket; }

signals:
    // A text for the date line.
    void step(const QString& text);

private:
    void ClientSocketInfo(QObject* Sender, TSockInfo icode, TSocketBase* Socket);
    void ClientSocketConnect(QObject* Sender, TSocketBase* Socket);
    void ClientSocketRead(QObject* Sender, TSocketBase* Socket);
    void ClientSocketTimeOut(QObject* Sender, TSocketBase* Socket);
    void ClientSocketDisconnect(QObject* Sender, TSocketBase* Socket);
    void replyTimedOut();
    void correctClock();
    // Ends an update whose reply cannot be used, leaving AutoUpdate armed.
    void refuseReply(const QString& text);
    // Ends an update that got its answer: AutoUpdate is cleared, whether or not the clock was set.
    void answered(const QString& text);
    // Sets up m_socket for the configured service; throws when the component cannot make one,
    // leaving m_socket as it was.
    void createSocket();
    void endUpdate();

    SettingsInForce& m_settings;
    IClock& m_clock;
    IClockSetter& m_setter;
    QString m_service = QStringLiteral("time");
    TClientSocket* m_socket = nullptr; // a child of this object once created
    std::function<bool(const QString&)> m_confirm;

    unsigned char ReplyBytes[4] = {};
    qint32 ReplyCount = 0;
    bool m_updating = false;
    bool m_byHand = false;
    // Inside Open: a time-out of a lookup does not end the update, Open's failure does.
    bool m_opening = false;
    // From the connection until the reply is complete or given up; bytes read otherwise are
    // dropped.
    bool m_replyWanted = false;
    bool m_reading = false;
    // Tick count when the connect was started, for the round trip.
    quint32 m_connectStartedMs = 0;
    // A server that sends part of a reply and then stalls or closes is given up on.
    QTimer m_replyTimer;
    // Shows the system's reason for a refused setting after the report.
    QTimer m_reasonTimer;
    QString m_reason;
};
