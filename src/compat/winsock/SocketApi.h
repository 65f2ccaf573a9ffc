#pragma once

class ISocketApi;

// "The" socket layer of the process. The program installs the Linux one at start; tests install
// their own. Nothing is loaded at run time on Linux: the C library's socket calls are linked,
// so there is no library name to set and no loading to fail.
ISocketApi* SocketApi();
void InstallSocketApi(ISocketApi* api);
// The installed layer; throws std::runtime_error when none is installed.
ISocketApi& RequireSocketApi();
