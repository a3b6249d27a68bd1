#pragma once
// A UDP relay between a TFTP client and a server that loses a share of the
// datagrams each way, seeded so a run can be repeated. Used by the lossy-link
// test and the lossy-link benchmark.

#include <QHostAddress>
#include <QRandomGenerator>
#include <QUdpSocket>

namespace qrt::test {

// Client <-> relay port <-> server, dropping a share of the datagrams each way.
class LossyRelay
{
public:
    LossyRelay(quint16 serverPort, double loss, quint32 seed) : m_serverPort(serverPort), m_loss(loss), m_rng(seed)
    {
        m_front.bind(QHostAddress::LocalHost, 0);
        m_back.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&m_front, &QUdpSocket::readyRead, [this] { fromClient(); });
        QObject::connect(&m_back, &QUdpSocket::readyRead, [this] { fromServer(); });
    }
    quint16 port() const { return m_front.localPort(); }
    int dropped = 0;

private:
    bool lose() { return m_rng.generateDouble() < m_loss && ++dropped; }
    void fromClient()
    {
        while (m_front.hasPendingDatagrams()) {
            QHostAddress from;
            quint16 fromPort = 0;
            QByteArray d(int(m_front.pendingDatagramSize()), '\0');
            m_front.readDatagram(d.data(), d.size(), &from, &fromPort);
            m_clientPort = fromPort;
            const bool request = d.size() >= 2 && (d[1] == 1 || d[1] == 2);
            if (!lose())
                m_back.writeDatagram(d, QHostAddress::LocalHost, request ? m_serverPort : m_sessionPort);
        }
    }
    void fromServer()
    {
        while (m_back.hasPendingDatagrams()) {
            QHostAddress from;
            quint16 fromPort = 0;
            QByteArray d(int(m_back.pendingDatagramSize()), '\0');
            m_back.readDatagram(d.data(), d.size(), &from, &fromPort);
            m_sessionPort = fromPort;
            if (!lose())
                m_front.writeDatagram(d, QHostAddress::LocalHost, m_clientPort);
        }
    }

    QUdpSocket m_front, m_back;
    quint16 m_serverPort;
    quint16 m_clientPort = 0, m_sessionPort = 0;
    double m_loss;
    QRandomGenerator m_rng;
};

} // namespace qrt::test
