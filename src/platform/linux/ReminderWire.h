#pragma once

#include "ports/ReminderRequest.h"

#include <QByteArray>
#include <QByteArrayView>

// Requests and replies on the one-copy socket, as frames: four bytes naming the kind, the
// payload's length (32 bits, big-endian), the payload. Strings go as a 32-bit length and their
// bytes, in the lossless text encoding, so a line's bytes come back as they are in the file.
// A connection that sends nothing at all is the plain "show yourself" of an older start.
namespace ReminderWire {

inline constexpr qsizetype HeaderBytes = 8;
// A request carries at most a line's worth of text; anything longer is refused unread.
inline constexpr quint32 MaxRequestBytes = 64 * 1024;
// A listing of the largest schedule the clock reads (128 MiB) fits.
inline constexpr quint32 MaxReplyBytes = 256 * 1024 * 1024;

enum class Frame { Incomplete, Complete, Bad, TooLarge };
// Where the frame at the start of `data` stands; `total` is its whole size once the header
// is in.
Frame requestFrame(QByteArrayView data, qsizetype* total);
Frame replyFrame(QByteArrayView data, qsizetype* total);

QByteArray encodeRequest(const ReminderRequest& request);
// An over-long reply becomes a failure reply that fits.
QByteArray encodeReply(const ReminderReply& reply);
// The whole frame; false when it is not one.
bool decodeRequest(QByteArrayView frame, ReminderRequest& request);
bool decodeReply(QByteArrayView frame, ReminderReply& reply);

} // namespace ReminderWire
