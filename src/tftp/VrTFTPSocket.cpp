#include "VrTFTPSocket.h"

#include "VrTFTPMsg.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

bool VrTFTPSocket::Open(quint16 port, bool reuseAddress)
{
    Close();
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        qCWarning(lcTftp) << "socket:" << strerror(errno);
        return false;
    }
    const int one = 1;
    if (reuseAddress && ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0) {
        qCWarning(lcTftp) << "SO_REUSEADDR:" << strerror(errno);
        Close();
        return false;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    if (::bind(m_fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
        qCWarning(lcTftp) << "bind to UDP port" << port << ":" << strerror(errno);
        Close();
        return false;
    }
    return true;
}

void VrTFTPSocket::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

quint16 VrTFTPSocket::LocalPort() const
{
    sockaddr_in local{};
    socklen_t len = sizeof local;
    if (m_fd < 0 || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&local), &len) != 0)
        return 0;
    return ntohs(local.sin_port);
}

qsizetype VrTFTPSocket::ReceiveFrom(char *buffer, qsizetype capacity, sockaddr_in *from) const
{
    socklen_t len = sizeof *from;
    const ssize_t n = ::recvfrom(m_fd, buffer, size_t(capacity), MSG_TRUNC,
                                 reinterpret_cast<sockaddr *>(from), &len);
    if (n < 0 || from->sin_family != AF_INET)
        return -1;
    return n;
}

bool VrTFTPSocket::SendTo(const char *data, qsizetype length, const sockaddr_in &to) const
{
    const ssize_t n = ::sendto(m_fd, data, size_t(length), 0,
                               reinterpret_cast<const sockaddr *>(&to), sizeof to);
    if (n != length) {
        qCWarning(lcTftp) << "sendto" << VrTFTPAddressText(to) << ":" << strerror(errno);
        return false;
    }
    return true;
}

QString VrTFTPAddressText(const sockaddr_in &address)
{
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return QString::fromLatin1(text);
}
