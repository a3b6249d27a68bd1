#pragma once

#include <QString>
#include <QtGlobal>
#include <netinet/in.h>

// A non-blocking IPv4 UDP socket; readiness is watched with QSocketNotifier
// by its owner so that every handler runs on the GUI thread.
class VrTFTPSocket
{
public:
    VrTFTPSocket() = default;
    ~VrTFTPSocket() { Close(); }
    VrTFTPSocket(const VrTFTPSocket &) = delete;
    VrTFTPSocket &operator=(const VrTFTPSocket &) = delete;

    // Binds to all local addresses at port (0 = any free port).
    bool Open(quint16 port, bool reuseAddress);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    quint16 LocalPort() const;

    // Returns the datagram's full length (which may exceed capacity: only
    // capacity bytes are stored), or -1 when nothing could be received.
    qsizetype ReceiveFrom(char *buffer, qsizetype capacity, sockaddr_in *from) const;
    bool SendTo(const char *data, qsizetype length, const sockaddr_in &to) const;

private:
    int m_fd = -1;
};

QString VrTFTPAddressText(const sockaddr_in &address);
inline int VrTFTPPortOf(const sockaddr_in &address) { return ntohs(address.sin_port); }
