#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class IClock;
class IClockSetter;
class TClientSocket;
class TSocketBase;
struct SettingsInForce;
enum TSockInfo : int;

// Corrects the system clock from a time server (RFC 868 over TCP): connects to the configured
// host's "time" service, takes the four bytes it sends and sets the clock to the server's time
// of day. Every step is reported through `step`, for the date line.
class TimeClient : public QObject {
    Q_OBJECT
public:
    // Seconds allowed for each lookup, the connect and the reply.
    static constexpr int TimeOutSeconds = 10;
    // A reply that took longer from the connect on is not trusted to set the clock: half the
    // round trip is all it can be corrected by, and the error grows with it.
    static constexpr quint32 MaxRoundTripMs = 3000;

    // Reads TimeServerHost from `settings` and clears AutoUpdate there after a correction.
    TimeClient(SettingsInForce& settings, IClock& clock, IClockSetter& setter,
               QObject* parent = nullptr);
    ~TimeClient() override;

    // Starts one update; ignored while one is still under way. Returns after a 2-second wait
    // (during which the event loop runs) once the connection has been started; the rest
    // happens in the socket's events.
    void BeginTimeUpdate();
    bool updating() const { return m_updating; }

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
    // Sets up m_socket for the configured service; throws when the component cannot make one,
    // leaving m_socket as it was.
    void createSocket();
    void endUpdate();

    SettingsInForce& m_settings;
    IClock& m_clock;
    IClockSetter& m_setter;
    QString m_service = QStringLiteral("time");
    TClientSocket* m_socket = nullptr; // a child of this object once created

    unsigned char ReplyBytes[4] = {};
    qint32 ReplyCount = 0;
    bool m_updating = false;
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
};
