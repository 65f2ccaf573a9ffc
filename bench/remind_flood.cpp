// Sends reminders to a running clock over its one-copy socket, many at once, as quickly as it
// answers: remind_flood SOCKET COUNT [AT_ONCE] [REPEATS]. Reminder i shows "flood i" at a minute
// of its own from 2030-01-01 00:00 on; after them the first REPEATS go again in capitals, which
// the clock must take as the items it holds. Prints the time taken; exits 1 when any reply is
// not a success.
// remind_flood SOCKET --unread-lists CALLERS SECONDS asks for the listing CALLERS times at once
// and never reads a reply, then hangs up after SECONDS.
#include "platform/linux/ReminderWire.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct Call {
    int fd = -1;
    QByteArray out;
    qsizetype sent = 0;
    QByteArray in;
};

QByteArray request(int i, bool capitals)
{
    const QDateTime at = QDateTime(QDate(2030, 1, 1), QTime(0, 0)).addSecs(qint64(i) * 60);
    const QString text = QStringLiteral("flood %1").arg(i);
    return ReminderWire::encodeRequest({ReminderRequest::Verb::Remind,
                                        at.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                                        capitals ? text.toUpper() : text,
                                        {}});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const QByteArray path = argv[1];
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(),
                std::min<size_t>(size_t(path.size()), sizeof address.sun_path - 1));
    if (std::strcmp(argv[2], "--unread-lists") == 0 && argc > 4) {
        const QByteArray list =
            ReminderWire::encodeRequest({ReminderRequest::Verb::List, {}, {}, {}});
        QList<int> callers;
        for (int i = std::atoi(argv[3]); i > 0; --i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                ::send(fd, list.constData(), size_t(list.size()), MSG_NOSIGNAL) != list.size()) {
                std::fprintf(stderr, "remind_flood: caller %d not connected\n", i);
                ::close(fd);
                continue;
            }
            callers.append(fd);
        }
        ::sleep(unsigned(std::atoi(argv[4])));
        for (const int fd : callers)
            ::close(fd);
        return 0;
    }
    const int count = std::atoi(argv[2]);
    const int atOnce = argc > 3 ? std::atoi(argv[3]) : 16;
    const int repeats = argc > 4 ? std::atoi(argv[4]) : 0;

    QElapsedTimer timer;
    timer.start();
    QList<Call> calls;
    int next = 0;
    int failed = 0;
    const int total = count + repeats;
    while (next < total || !calls.isEmpty()) {
        while (next < total && calls.size() < atOnce) {
            Call call;
            call.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (::connect(call.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
                0) {
                // The queue is full: wait for answers first.
                ::close(call.fd);
                if (calls.isEmpty())
                    ::usleep(1000);
                break;
            }
            call.out = next < count ? request(next, false) : request(next - count, true);
            ++next;
            calls.append(call);
        }
        QList<pollfd> polls;
        for (const Call& call : calls)
            polls.append({call.fd, short(call.sent < call.out.size() ? POLLOUT : POLLIN), 0});
        if (::poll(polls.data(), nfds_t(polls.size()), 30000) <= 0) {
            std::fprintf(stderr, "remind_flood: no answer for 30 s\n");
            return 1;
        }
        for (qsizetype i = calls.size() - 1; i >= 0; --i) {
            Call& call = calls[i];
            if (polls[i].revents == 0)
                continue;
            bool done = false;
            if (call.sent < call.out.size()) {
                const ssize_t n = ::send(call.fd, call.out.constData() + call.sent,
                                         size_t(call.out.size() - call.sent), MSG_NOSIGNAL);
                if (n <= 0) {
                    done = true;
                    ++failed;
                }
                call.sent += std::max<ssize_t>(n, 0);
            } else {
                char buffer[4096];
                const ssize_t n = ::recv(call.fd, buffer, sizeof buffer, 0);
                if (n > 0)
                    call.in.append(buffer, n);
                qsizetype size = 0;
                const auto frame = ReminderWire::replyFrame(call.in, &size);
                ReminderReply reply;
                if (frame == ReminderWire::Frame::Complete) {
                    done = true;
                    if (!ReminderWire::decodeReply(QByteArrayView(call.in).first(size), reply) ||
                        reply.status != 0) {
                        ++failed;
                        std::fprintf(stderr, "remind_flood: %s\n", qPrintable(reply.error));
                    }
                } else if (n <= 0 || frame != ReminderWire::Frame::Incomplete) {
                    done = true;
                    ++failed;
                }
            }
            if (done) {
                ::close(call.fd);
                calls.removeAt(i);
            }
        }
    }
    std::printf("%d requests in %lld ms, %d failed\n", total, timer.elapsed(), failed);
    return failed == 0 ? 0 : 1;
}
