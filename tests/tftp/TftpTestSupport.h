#pragma once

// Helpers shared by the TFTP suites: an application object for the event
// loop, a recorder of status reports and a raw UDP client.

#include "VrTFTPMsg.h"
#include "VrTFTPServer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QUdpSocket>
#include <functional>

inline void ensureApp()
{
    static int argc = 1;
    static char name[] = "tftp_tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = QCoreApplication::instance()
        ? QCoreApplication::instance() : new QCoreApplication(argc, argv);
    (void)app;
}

// First member of a fixture, so the application exists before the server.
struct AppInstance {
    AppInstance() { ensureApp(); }
};

// Runs the event loop until pred holds or timeoutMs passes; returns pred().
inline bool spinUntil(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    return pred();
}

inline void spinFor(int ms)
{
    spinUntil([] { return false; }, ms);
}

struct Report {
    int session;
    int status;
    qint64 bytes;
    int sendCount;
};

// Collects every status report; cancelOn makes it cancel at that status.
struct Recorder {
    QList<Report> reports;
    int cancelOn = 1000;

    VrTFTPCallback callback()
    {
        return [this](VrTFTPMsg *m, bool *cancel) {
            reports.append({m->sessionNumber, m->status, m->bytesTransferred, m->sendCount});
            if (m->status == cancelOn)
                *cancel = true;
        };
    }
    bool has(int status) const
    {
        for (const Report &r : reports)
            if (r.status == status)
                return true;
        return false;
    }
    int count(int status) const
    {
        int n = 0;
        for (const Report &r : reports)
            n += r.status == status;
        return n;
    }
};

inline QByteArray u16(quint16 v)
{
    QByteArray b(2, '\0');
    b[0] = char(v >> 8);
    b[1] = char(v & 0xff);
    return b;
}

// "a", "b" -> "a\0b\0", the layout of TFTP strings and options.
inline QByteArray nulJoined(std::initializer_list<const char *> parts)
{
    QByteArray b;
    for (const char *p : parts)
        b.append(p).append('\0');
    return b;
}

inline QByteArray request(quint16 op, const QByteArray &name, const QByteArray &options = {})
{
    return u16(op) + name + '\0' + "octet" + '\0' + options;
}

inline QByteArray packet(quint16 op, quint16 number, const QByteArray &payload = {})
{
    return u16(op) + u16(number) + payload;
}

inline void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QByteArray patterned(qsizetype size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        b[i] = char((i * 131 + i / 509) & 0xff);
    return b;
}

// A TFTP peer that speaks datagram by datagram.
class RawClient
{
public:
    explicit RawClient(const QHostAddress &bindAddress = QHostAddress::LocalHost)
    {
        m_socket.bind(bindAddress, 0);
    }
    void sendTo(quint16 port, const QByteArray &d)
    {
        m_socket.writeDatagram(d, QHostAddress::LocalHost, port);
    }
    void sendToSession(const QByteArray &d) { sendTo(m_sessionPort, d); }
    // The next datagram within timeoutMs, or an empty array.
    QByteArray receive(int timeoutMs = 2000)
    {
        if (!spinUntil([this] { return m_socket.hasPendingDatagrams(); }, timeoutMs))
            return {};
        QByteArray d(int(m_socket.pendingDatagramSize()), Qt::Uninitialized);
        quint16 port = 0;
        m_socket.readDatagram(d.data(), d.size(), nullptr, &port);
        m_lastPort = port;
        return d;
    }
    // Remembers the port the last datagram came from as the session's port.
    void adoptSessionPort() { m_sessionPort = m_lastPort; }
    quint16 lastPort() const { return m_lastPort; }

private:
    QUdpSocket m_socket;
    quint16 m_lastPort = 0;
    quint16 m_sessionPort = 0;
};
