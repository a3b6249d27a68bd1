#include "VrTFTPLocalAddress.h"

#include "VrTFTPMsg.h"
#include "VrTFTPSocket.h"

#include <QNetworkInterface>
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::optional<QHostAddress> parseIPv4(const QString &text)
{
    QHostAddress a;
    if (!a.setAddress(text.trimmed()) || a.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    return a;
}

// The local address the system routes toward the device (for a device
// behind a router); empty when there is no route.
QString routeSource(const QHostAddress &device)
{
    // Connecting a UDP socket sends nothing; it only makes the kernel pick
    // the route and with it our source address.
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return {};
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(69);
    to.sin_addr.s_addr = htonl(device.toIPv4Address());
    sockaddr_in local{};
    socklen_t len = sizeof local;
    QString result;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &len) == 0
        && local.sin_addr.s_addr != htonl(INADDR_ANY))
        result = VrTFTPAddressText(local);
    ::close(fd);
    return result;
}

} // namespace

QList<VrTFTPInterfaceAddress> VrTFTPLocalInterfaces()
{
    QList<VrTFTPInterfaceAddress> result;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        if (!(iface.flags() & QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            if (result.size() == VrTFTPMaxInterfaces)
                return result;
            result.append({entry.ip(), entry.netmask()});
        }
    }
    return result;
}

QString VrTFTPMatchInterface(const QList<VrTFTPInterfaceAddress> &interfaces,
                             const QHostAddress &device, const QHostAddress &deviceMask)
{
    const quint32 network = device.toIPv4Address() & deviceMask.toIPv4Address();
    for (const VrTFTPInterfaceAddress &i : interfaces) {
        if ((i.address.toIPv4Address() & i.netmask.toIPv4Address()) == network)
            return i.address.toString();
    }
    return {};
}

bool SelectLocalAddress(const QString &deviceAddress, const QString &deviceMask,
                        QString *localAddress)
{
    localAddress->clear();
    const auto device = parseIPv4(deviceAddress);
    const auto mask = parseIPv4(deviceMask);
    if (!device || !mask) {
        qCWarning(lcTftp) << "no local address for device" << deviceAddress << "/" << deviceMask
                          << ": not an IPv4 address and mask";
        return false;
    }
    *localAddress = VrTFTPMatchInterface(VrTFTPLocalInterfaces(), *device, *mask);
    if (localAddress->isEmpty())
        *localAddress = routeSource(*device);
    if (localAddress->isEmpty())
        qCWarning(lcTftp) << "no local address reaches device" << deviceAddress;
    return !localAddress->isEmpty();
}
