#include "platform/linux/ReminderWire.h"

#include "core/LosslessText.h"

#include <QtEndian>

namespace ReminderWire {

namespace {

constexpr char RequestKind[] = "HXQ1";
constexpr char ReplyKind[] = "HXA1";

void putNumber(QByteArray& out, quint32 n)
{
    char bytes[4];
    qToBigEndian(n, bytes);
    out.append(bytes, 4);
}

void putText(QByteArray& out, const QString& text)
{
    const QByteArray bytes = LosslessText::encode(text);
    putNumber(out, quint32(bytes.size()));
    out += bytes;
}

QByteArray framed(const char* kind, const QByteArray& payload)
{
    QByteArray out(kind, 4);
    putNumber(out, quint32(payload.size()));
    return out + payload;
}

Frame frameState(QByteArrayView data, const char* kind, quint32 limit, qsizetype* total)
{
    const qsizetype seen = std::min<qsizetype>(data.size(), 4);
    if (data.first(seen) != QByteArrayView(kind, seen))
        return Frame::Bad;
    if (data.size() < HeaderBytes)
        return Frame::Incomplete;
    const quint32 length = qFromBigEndian<quint32>(data.data() + 4);
    if (length > limit)
        return Frame::TooLarge;
    *total = HeaderBytes + qsizetype(length);
    return data.size() >= *total ? Frame::Complete : Frame::Incomplete;
}

// Reads the payload from its start, never past its end.
class Reader {
public:
    explicit Reader(QByteArrayView payload) : m_rest(payload) {}
    bool number(quint32& n)
    {
        if (m_rest.size() < 4)
            return false;
        n = qFromBigEndian<quint32>(m_rest.data());
        m_rest = m_rest.sliced(4);
        return true;
    }
    bool text(QString& text)
    {
        quint32 length = 0;
        if (!number(length) || length > quint64(m_rest.size()))
            return false;
        text = LosslessText::decode(m_rest.first(length));
        m_rest = m_rest.sliced(length);
        return true;
    }
    qsizetype left() const { return m_rest.size(); }

private:
    QByteArrayView m_rest;
};

} // namespace

Frame requestFrame(QByteArrayView data, qsizetype* total)
{
    return frameState(data, RequestKind, MaxRequestBytes, total);
}

Frame replyFrame(QByteArrayView data, qsizetype* total)
{
    return frameState(data, ReplyKind, MaxReplyBytes, total);
}

QByteArray encodeRequest(const ReminderRequest& request)
{
    QByteArray payload;
    putNumber(payload, quint32(request.verb));
    putText(payload, request.time);
    putText(payload, request.text);
    putText(payload, request.item);
    return framed(RequestKind, payload);
}

QByteArray encodeReply(const ReminderReply& reply)
{
    QByteArray payload;
    putNumber(payload, quint32(reply.status));
    putNumber(payload, quint32(reply.lines.size()));
    for (const QString& line : reply.lines)
        putText(payload, line);
    putText(payload, reply.error);
    if (payload.size() > qsizetype(MaxReplyBytes))
        return encodeReply({1, {}, QStringLiteral("horolux: the answer is too long to send")});
    return framed(ReplyKind, payload);
}

bool decodeRequest(QByteArrayView frame, ReminderRequest& request)
{
    qsizetype total = 0;
    if (requestFrame(frame, &total) != Frame::Complete || total != frame.size())
        return false;
    Reader in(frame.sliced(HeaderBytes));
    quint32 verb = 0;
    if (!in.number(verb) || verb > quint32(ReminderRequest::Verb::Snooze))
        return false;
    request.verb = ReminderRequest::Verb(verb);
    return in.text(request.time) && in.text(request.text) && in.text(request.item) &&
           in.left() == 0;
}

bool decodeReply(QByteArrayView frame, ReminderReply& reply)
{
    qsizetype total = 0;
    if (replyFrame(frame, &total) != Frame::Complete || total != frame.size())
        return false;
    Reader in(frame.sliced(HeaderBytes));
    quint32 status = 0;
    quint32 count = 0;
    // Each line takes at least its four length bytes, which bounds a lying count.
    if (!in.number(status) || status > 3 || !in.number(count) || count > quint64(in.left()) / 4)
        return false;
    reply.status = int(status);
    reply.lines.clear();
    reply.lines.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        QString line;
        if (!in.text(line))
            return false;
        reply.lines.append(line);
    }
    return in.text(reply.error) && in.left() == 0;
}

} // namespace ReminderWire
