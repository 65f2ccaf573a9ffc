#include "compat/winsock/SocketApi.h"

#include <stdexcept>

namespace {
ISocketApi* g_api = nullptr;
}

ISocketApi* SocketApi()
{
    return g_api;
}

void InstallSocketApi(ISocketApi* api)
{
    g_api = api;
}

ISocketApi& RequireSocketApi()
{
    if (!g_api)
        throw std::runtime_error("No socket library installed");
    return *g_api;
}
