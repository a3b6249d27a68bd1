// Hosts a VrTFTPServer on ROOT and PORT until SIGINT or SIGTERM, printing
// every status report. Used by the interoperability tests and the benchmark.

#include "QuitOnSignal.h"
#include "VrTFTPServer.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool portOk = false;
    const uint port = args.size() == 3 ? args.at(2).toUInt(&portOk) : 0;
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "usage: tftp_serve ROOT PORT\n");
        return 2;
    }

    if (!bench::QuitOnSignal())
        return 1;

    VrTFTPServer server;
    server.SetAcceptAnyPeer(true);
    server.SetOnMessage([](VrTFTPMsg *m, bool *) {
        // Progress comes once per block: keep that line cheap to print.
        if (m->status == VrTFTPStatus::Transferring) {
            std::printf("session=%d status=2 bytes=%lld\n", m->sessionNumber,
                        static_cast<long long>(m->bytesTransferred));
            return;
        }
        std::printf("session=%d status=%d kind=%d file=%s peer=%s:%d bytes=%lld text=%s\n",
                    m->sessionNumber, m->status, m->requestKind, qPrintable(m->fileName),
                    qPrintable(m->peerAddress), m->peerPort,
                    static_cast<long long>(m->bytesTransferred), qPrintable(m->statusText));
    });
    try {
        server.Start(args.at(1), quint16(port));
    } catch (const VrTFTPException &e) {
        std::fprintf(stderr, "tftp_serve: %s\n", e.what());
        return 1;
    }
    std::printf("listening root=%s port=%u\n", qPrintable(server.RootDirectory()), server.Port());
    std::fflush(stdout);
    const int rc = app.exec();
    server.Stop();
    std::fflush(stdout);
    return rc;
}
