// The horolux executable itself. Loading Qt and everything else the clock links takes the
// dynamic linker some milliseconds, far longer on a busy machine, and a SIGTERM or SIGHUP in
// that time (a session ending just as it starts the clock) would kill the program before a
// handler of its own existed. This part needs nothing but the C library: it holds those
// signals back at once, then loads the program, whose signal watcher takes them over.
#include <csignal>
#include <cstdio>
#include <dlfcn.h>

int main(int argc, char** argv)
{
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGTERM);
    sigaddset(&held, SIGINT);
    sigaddset(&held, SIGHUP);
    sigprocmask(SIG_BLOCK, &held, nullptr);

    // Found through this executable's run path: beside it in the build tree, in its own
    // library folder once installed.
    void* program = dlopen("libhorolux.so", RTLD_NOW | RTLD_LOCAL);
    using Entry = int (*)(int, char**);
    auto run = program ? reinterpret_cast<Entry>(dlsym(program, "horolux_main")) : nullptr;
    if (!run) {
        std::fprintf(stderr, "horolux: %s\n", dlerror());
        return 1;
    }
    return run(argc, argv);
}
