// Loaded ahead of Qt into the built program (LD_PRELOAD): at the program's own first
// processing of events, in its start-up, it raises SIGTERM as a shutdown coming at that moment
// would, then lets Qt process the events.

#include <QCoreApplication>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {

// The code at Adresse belongs to the program itself, not to a library.
bool VomProgramm(void *Adresse)
{
    Dl_info info{};
    char selbst[PATH_MAX], aufrufer[PATH_MAX];
    return ::dladdr(Adresse, &info) != 0 && info.dli_fname && ::realpath("/proc/self/exe", selbst)
           && ::realpath(info.dli_fname, aufrufer) && std::strcmp(selbst, aufrufer) == 0;
}

} // namespace

void QCoreApplication::processEvents(QEventLoop::ProcessEventsFlags Flags)
{
    using Echt = void (*)(QEventLoop::ProcessEventsFlags);
    static const auto echt = reinterpret_cast<Echt>(
        ::dlsym(RTLD_NEXT, "_ZN16QCoreApplication13processEventsE6QFlagsIN10QEventLoop17ProcessEventsFlagEE"));
    static bool gesendet = false;
    if (!gesendet && VomProgramm(__builtin_return_address(0))) {
        gesendet = true;
        std::fputs("SIGTERM beim ersten Ereignislauf\n", stderr);
        ::raise(SIGTERM);
    }
    echt(Flags);
}
