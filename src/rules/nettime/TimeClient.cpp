#include "rules/nettime/TimeClient.h"

#include "compat/winsock/ESockError.h"
#include "compat/winsock/SocketErrors.h"
#include "compat/winsock/TClientSocket.h"
#include "compat/winsock/TSocketBase.h"
#include "core/DelayPumping.h"
#include "ports/IClock.h"
#include "ports/IClockSetter.h"
#include "rules/clock/ClockSetting.h"
#include "rules/nettime/TimeReply.h"
#include "rules/nettime/TimeServers.h"
#include "rules/settings/SettingsInForce.h"

#include <QPointer>

TimeClient::TimeClient(SettingsInForce& settings, IClock& clock, IClockSetter& setter,
                       QObject* parent)
    : QObject(parent), m_settings(settings), m_clock(clock), m_setter(setter)
{
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setInterval(TimeOutSeconds * 1000);
    connect(&m_replyTimer, &QTimer::timeout, this, &TimeClient::replyTimedOut);
    m_reasonTimer.setSingleShot(true);
    m_reasonTimer.setInterval(ReasonAfterMs);
    connect(&m_reasonTimer, &QTimer::timeout, this, [this] { emit step(m_reason); });
}

TimeClient::~TimeClient() = default;

void TimeClient::createSocket()
{
    auto* socket = new TClientSocket(this);
    try {
        socket->setPort(m_service);
        socket->setProtocol(QStringLiteral("TCP"));
        socket->setTimeOut(TimeOutSeconds);
        socket->OnConnect = [this](QObject* s, TSocketBase* k) { ClientSocketConnect(s, k); };
        socket->OnInfo = [this](QObject* s, TSockInfo i, TSocketBase* k) {
            ClientSocketInfo(s, i, k);
        };
        socket->OnRead = [this](QObject* s, TSocketBase* k) { ClientSocketRead(s, k); };
        socket->OnTimeOut = [this](QObject* s, TSocketBase* k) { ClientSocketTimeOut(s, k); };
        socket->OnDisconnect = [this](QObject* s, TSocketBase* k) { ClientSocketDisconnect(s, k); };
    } catch (...) {
        // Half set up it could never work: the next update starts again from nothing.
        delete socket;
        throw;
    }
    m_socket = socket;
}

void TimeClient::BeginTimeUpdate(Trigger trigger)
{
    // Both waits below run the event loop, so the tick or the settings dialog can start an
    // update while this one is still going: that one is ignored, except that the user's press
    // makes it the user's, to be asked rather than refused.
    if (m_updating) {
        m_byHand = m_byHand || trigger == ByHand;
        return;
    }
    m_updating = true;
    m_byHand = trigger == ByHand;
    m_reasonTimer.stop();
    emit step(tr("Updating system time"));
    const QString badHost = TimeServers::hostProblem(m_settings.TimeServerHost);
    if (!badHost.isEmpty()) {
        emit step(badHost);
        endUpdate();
        return;
    }
    if (!m_socket) {
        try {
            createSocket();
        } catch (...) {
            emit step(tr("Unable to create socket"));
        }
    }

    const QPointer<TimeClient> alive(this);
    const bool waited = SharedRoutines::DelayPumping([this] { return m_clock.tickCount(); }, 2000);
    if (!alive)
        return;
    if (!waited || !m_socket) {
        endUpdate();
        return;
    }

    m_socket->setAddress(m_settings.TimeServerHost.left(255));
    m_opening = true;
    try {
        m_socket->Open();
    } catch (...) {
        if (!alive)
            return;
        m_opening = false;
        emit step(tr("Unable to connect to Internet"));
        endUpdate();
        return;
    }
    if (alive)
        m_opening = false;
}

void TimeClient::endUpdate()
{
    m_updating = false;
    m_replyWanted = false;
    m_replyTimer.stop();
}

void TimeClient::ClientSocketInfo(QObject*, TSockInfo icode, TSocketBase*)
{
    if (icode == siLookup)
        emit step(tr("Looking up host %1").arg(m_socket->HostName()));
    else if (icode == siConnecting) {
        m_connectStartedMs = m_clock.tickCount();
        emit step(tr("Connecting to %1").arg(m_socket->HostAddress()));
    }
}

void TimeClient::ClientSocketConnect(QObject*, TSocketBase* Socket)
{
    ReplyCount = 0;
    try {
        emit step(tr("Connected to %1").arg(m_socket->PeerAddressText(Socket)));
    } catch (const ESockError&) {
        emit step(tr("Connection closed by host"));
    }
    if (Socket->Connected()) {
        // Nothing else times out once connected.
        m_updating = true;
        m_replyWanted = true;
        m_replyTimer.start();
    } else {
        // Refused, or failed otherwise: "Connected to ?" alone would read as a success.
        endUpdate();
        const int error = Socket->LastError();
        emit step(error ? SocketErrorText(error) : tr("Unable to connect to Internet"));
    }
}

void TimeClient::ClientSocketRead(QObject*, TSocketBase* Socket)
{
    // Past the reply, after it was given up, or from the close that follows a failed read (the
    // update has failed then): what is waiting is read and dropped, so a closing drain ends.
    if (!m_replyWanted || ReplyCount >= 4 || m_reading) {
        if (Socket->Connected() || Socket->SocketState() == TSocketBase::ssClosing) {
            char surplus[16384];
            try {
                Socket->Read(surplus, sizeof surplus);
            } catch (const ESockError&) {
                // Nothing is lost: the connection has served its purpose or has failed already.
            }
        }
        return;
    }
    int n = 0;
    m_reading = true;
    try {
        n = Socket->Read(ReplyBytes + ReplyCount, 4 - ReplyCount);
    } catch (...) {
        m_reading = false;
        endUpdate();
        throw;
    }
    m_reading = false;
    ReplyCount += n;
    if (ReplyCount != 4)
        return;
    correctClock();
    // The close reads what is still waiting through this handler, which drops it.
    if (Socket->Connected())
        m_socket->Close();
}

void TimeClient::ClientSocketDisconnect(QObject* Sender, TSocketBase* Socket)
{
    if (!m_replyWanted)
        return;
    // Bytes that came with the close are taken first; a reply still short then never comes.
    try {
        if (Socket->Connected() && Socket->LastError() == 0)
            ClientSocketRead(Sender, Socket);
    } catch (const ESockError&) {
        emit step(
            tr("Connection closed by host")); // the failed read has closed it and ended the update
        return;
    }
    if (!m_replyWanted)
        return;
    endUpdate();
    emit step(tr("Connection closed by host"));
    if (Socket->Connected())
        m_socket->Close();
}

void TimeClient::refuseReply(const QString& text)
{
    emit step(text);
    endUpdate();
}

void TimeClient::correctClock()
{
    // Setting the clock (and the question before a long step) may take a while, with the event
    // loop running: the update counts as under way until the report, but bytes arriving
    // meanwhile are dropped and the reply is no longer timed.
    m_replyWanted = false;
    m_replyTimer.stop();
    const quint32 replyTick = m_clock.tickCount();
    const QDateTime clock = m_clock.now();
    const TimeReply::Decision d =
        TimeReply::decide(clock.toMSecsSinceEpoch(), TimeReply::decode(ReplyBytes),
                          replyTick - m_connectStartedMs, m_byHand);
    switch (d.kind) {
    case TimeReply::Decision::Invalid:
        return refuseReply(tr("Invalid server time, not set"));
    case TimeReply::Decision::TooSlow:
        return refuseReply(tr("Reply too slow, clock not set"));
    case TimeReply::Decision::Correct:
        return answered(TimeReply::report(false, d.aheadMs));
    case TimeReply::Decision::Refuse:
        // Counted as answered: asking again each minute would get the same answer.
        return answered(TimeReply::notSet(d.aheadMs));
    case TimeReply::Decision::Ask: {
        const QPointer<TimeClient> alive(this);
        const QDateTime server = QDateTime::fromMSecsSinceEpoch(d.serverMs, Qt::UTC);
        const bool yes = m_confirm && m_confirm(TimeReply::question(clock, server, d.aheadMs));
        if (!alive)
            return;
        if (!yes)
            return answered(TimeReply::notSet(d.aheadMs));
        break;
    }
    case TimeReply::Decision::Set:
        break;
    }
    if (m_setter.busy())
        return answered(settingInProgress());
    // The server's time has moved on since the reply, by as long as the question was open.
    const QDateTime target =
        QDateTime::fromMSecsSinceEpoch(d.serverMs + (m_clock.tickCount() - replyTick), Qt::UTC);
    const QPointer<TimeClient> alive(this);
    const bool set = ClockSetting::SetUtcDateTime(
        m_setter, quint16(target.date().year()), quint16(target.date().month()),
        quint16(target.date().day()), quint16(target.time().hour()),
        quint16(target.time().minute()), quint16(target.time().second()),
        quint16(target.time().msec()));
    if (!alive)
        return;
    answered(TimeReply::report(set, d.aheadMs));
    m_reason = set ? QString() : m_setter.refusalReason();
    if (!m_reason.isEmpty())
        m_reasonTimer.start();
}

void TimeClient::answered(const QString& text)
{
    emit step(text);
    m_settings.AutoUpdate = false;
    endUpdate();
}

void TimeClient::ClientSocketTimeOut(QObject*, TSocketBase*)
{
    emit step(tr("Connection timed out"));
    try {
        m_socket->Close(); // refused: the socket has given the pending connect up already
    } catch (...) {
    }
    // A lookup that timed out makes Open fail, which ends the update there.
    if (!m_opening)
        endUpdate();
}

void TimeClient::replyTimedOut()
{
    endUpdate();
    emit step(tr("Connection timed out"));
    try {
        m_socket->Close();
    } catch (...) {
    }
}
