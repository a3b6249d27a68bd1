#pragma once
// Ends the application's event loop cleanly on SIGINT or SIGTERM: the handler
// only writes to a socket pair, whose reading end the event loop watches.
// Call once, after the QCoreApplication exists; false when the pair cannot be made.

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace bench {

inline int g_signalPipe[2] = {-1, -1};

inline bool QuitOnSignal()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(), &QCoreApplication::quit);
    const auto onSignal = [](int) {
        const char c = 0;
        [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
    };
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    return true;
}

} // namespace bench
