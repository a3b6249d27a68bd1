// libFuzzer target: one session fed with arbitrary datagrams from its peer.
// Input: one byte choosing the request (read or write, options, cancel),
// then datagrams, each prefixed with its length byte; a length byte of 0
// stands for a passed deadline (the session resends) and 1 for a repeated
// request.

#include "TFTPSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cstdint>

namespace {

struct Fixture {
    Fixture()
    {
        static int argc = 1;
        static char name[] = "tftp_session_fuzzer";
        static char *argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        QFile f(dir.filePath(QStringLiteral("f.bin")));
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray(3000, 'r'));
        sink.Open(0, false);
        peer.sin_family = AF_INET;
        peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        peer.sin_port = htons(sink.LocalPort());
        root = dir.path() + u'/';
    }
    void drainSink()
    {
        char buf[70000];
        sockaddr_in from{};
        while (sink.ReceiveFrom(buf, sizeof buf, &from) >= 0) {
        }
    }
    QCoreApplication *app;
    QTemporaryDir dir;
    VrTFTPSocket sink;
    sockaddr_in peer{};
    QString root;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Fixture fx;
    if (size == 0)
        return 0;
    const uint8_t mode = data[0];
    VrTFTPPacket::Request request;
    request.opcode = (mode & 1) ? VrTFTPPacket::WRQ : VrTFTPPacket::RRQ;
    request.fileName = (mode & 1) ? "w.bin" : "f.bin";
    request.mode = "octet";
    if (mode & 2)
        request.blockSize = VrTFTPPacket::MinBlockSize + (mode >> 4);
    if (mode & 4)
        request.transferSize = mode;

    VrTFTPMsg templ;
    templ.requestKind = request.opcode;
    templ.fileName = QString::fromLatin1(request.fileName);
    const bool cancelLate = mode & 8;
    int reports = 0;
    TFTPSession session(templ, request, fx.root, [&](VrTFTPMsg *, bool *cancel) {
        if (cancelLate && ++reports > 6)
            *cancel = true;
    }, fx.peer);
    session.Start();

    size_t pos = 1;
    while (pos < size) {
        const size_t len = data[pos++];
        if (len == 0) {
            session.Resend();
            continue;
        }
        if (len == 1) {
            session.HandleRepeatedRequest();
            continue;
        }
        const size_t n = std::min(len, size - pos);
        session.HandleDatagram(QByteArrayView(reinterpret_cast<const char *>(data + pos),
                                              qsizetype(n)), fx.peer);
        pos += n;
    }
    fx.drainSink();
    return 0;
}
