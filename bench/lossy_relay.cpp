// Relays one TFTP client to a server at 127.0.0.1:SERVER_PORT, losing LOSS of
// the datagrams each way (seeded). Prints "relay port=N" once it listens and,
// when ended by SIGINT or SIGTERM, "dropped=N".
// Usage: lossy_relay SERVER_PORT LOSS SEED

#include "LossyRelay.h"
#include "QuitOnSignal.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool portOk = false, lossOk = false, seedOk = false;
    const uint port = args.size() == 4 ? args.at(1).toUInt(&portOk) : 0;
    const double loss = args.size() == 4 ? args.at(2).toDouble(&lossOk) : 0;
    const uint seed = args.size() == 4 ? args.at(3).toUInt(&seedOk) : 0;
    if (!portOk || !lossOk || !seedOk || port == 0 || port > 65535 || loss < 0 || loss > 1) {
        std::fprintf(stderr, "usage: lossy_relay SERVER_PORT LOSS SEED\n");
        return 2;
    }
    if (!bench::QuitOnSignal())
        return 1;

    qrt::test::LossyRelay relay(quint16(port), loss, seed);
    std::printf("relay port=%u\n", relay.port());
    std::fflush(stdout);
    const int rc = app.exec();
    std::printf("dropped=%d\n", relay.dropped);
    std::fflush(stdout);
    return rc;
}
