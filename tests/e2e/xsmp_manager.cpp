// A session manager just big enough for tst_e2e_session: XSMP over libSM and libICE, on a unix
// socket of its own (no TCP). It prints its address for SESSION_MANAGER, then a line per event.
// The test writes "save" (a logout's save request to the last client) or "die" to its standard
// input; closing that ends it.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int _IceTransNoListen(const char* protocol);

namespace {

SmsConn g_client = nullptr;
std::vector<IceConn> g_connections;

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Status registerClient(SmsConn conn, SmPointer, char* previousId)
{
    // A restored client asks for the id it had, and gets it back.
    char* id = previousId ? previousId : SmsGenerateClientID(conn);
    say(std::string("registered ") + id + (previousId ? " again" : ""));
    const Status ok = SmsRegisterClientReply(conn, id);
    std::free(id);
    g_client = conn;
    return ok;
}

// A property and its values, tab-separated: "RestartCommand\t/path/horolux\t-session\tID".
void setProperties(SmsConn, SmPointer, int count, SmProp** props)
{
    for (int i = 0; i < count; ++i) {
        std::string line = props[i]->name;
        for (int v = 0; v < props[i]->num_vals; ++v) {
            const auto* value = static_cast<const char*>(props[i]->vals[v].value);
            line += '\t' + (std::strcmp(props[i]->type, SmCARD8) == 0
                                ? std::to_string(static_cast<unsigned char>(*value))
                                : std::string(value, props[i]->vals[v].length));
        }
        say(line);
        SmFreeProperty(props[i]);
    }
    std::free(props);
}

// The client said goodbye, or its connection broke.
void forget(IceConn ice)
{
    if (g_client && SmsGetIceConnection(g_client) == ice) {
        SmsCleanUp(g_client);
        g_client = nullptr;
        say("closed");
    }
    std::erase(g_connections, ice);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
}

// Only what a client sends without asking to interact; libSM leaves the rest unset.
Status newClient(SmsConn, SmPointer, unsigned long*, SmsCallbacks* cb, char**)
{
    cb->register_client.callback = registerClient;
    cb->set_properties.callback = setProperties;
    cb->delete_properties.callback = [](SmsConn, SmPointer, int count, char** names) {
        SmFreeReasons(count, names);
    };
    cb->save_yourself_done.callback = [](SmsConn conn, SmPointer, Bool) {
        say("saved");
        SmsSaveComplete(conn);
    };
    cb->close_connection.callback = [](SmsConn conn, SmPointer, int count, char** reasons) {
        SmFreeReasons(count, reasons);
        forget(SmsGetIceConnection(conn));
    };
    return 1;
}

// Only the unix socket listens: whoever reaches it is on this machine.
Bool localHost(char*)
{
    return True;
}

} // namespace

int main()
{
    char error[256] = "";
    int count = 0;
    IceListenObj* listeners = nullptr;
    _IceTransNoListen("tcp");
    if (!SmsInitialize("horolux-test", "1", newClient, nullptr, localHost, sizeof error, error) ||
        !IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "%s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], localHost);
    char* address = IceComposeNetworkIdList(count, listeners);
    say(address);
    std::free(address);

    for (std::string input;;) {
        std::vector<pollfd> fds{{0, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        // A connection may leave the list while its messages are read.
        const std::vector<IceConn> polled = g_connections;
        for (IceConn ice : polled)
            fds.push_back({IceConnectionNumber(ice), POLLIN, 0});
        poll(fds.data(), fds.size(), -1);
        if (fds[0].revents) {
            char buffer[256];
            const ssize_t n = read(0, buffer, sizeof buffer);
            if (n <= 0)
                break;
            input.append(buffer, n);
            for (size_t end; (end = input.find('\n')) != std::string::npos;
                 input.erase(0, end + 1)) {
                if (input.compare(0, end, "save") == 0 && g_client)
                    SmsSaveYourself(g_client, SmSaveBoth, True, SmInteractStyleNone, False);
                else if (input.compare(0, end, "die") == 0 && g_client)
                    SmsDie(g_client);
            }
        }
        for (int i = 0; i < count; ++i) {
            IceAcceptStatus status;
            if (fds[1 + i].revents)
                if (IceConn ice = IceAcceptConnection(listeners[i], &status))
                    g_connections.push_back(ice);
        }
        for (size_t i = 0; i < polled.size(); ++i) {
            if (!fds[1 + count + i].revents)
                continue;
            // A connection closed while its messages were read is gone already.
            const IceProcessMessagesStatus status = IceProcessMessages(polled[i], nullptr, nullptr);
            if (status == IceProcessMessagesIOError ||
                (status == IceProcessMessagesSuccess &&
                 IceConnectionStatus(polled[i]) == IceConnectRejected))
                forget(polled[i]);
        }
    }
    IceFreeListenObjs(count, listeners);
    return 0;
}
