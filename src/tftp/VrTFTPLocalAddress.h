#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

// Choosing the workstation address that a page announces to the device as
// its TFTP server.

struct VrTFTPInterfaceAddress {
    QHostAddress address;
    QHostAddress netmask;
};

inline constexpr int VrTFTPMaxInterfaces = 10;
inline constexpr char VrTFTPNoLocalAddressText[] = "Invalid Server IP Address or SNMP timed out!";

// The first VrTFTPMaxInterfaces IPv4 addresses of the running interfaces.
QList<VrTFTPInterfaceAddress> VrTFTPLocalInterfaces();

// The address of the first interface on the device's network, or an empty
// string when none shares it.
QString VrTFTPMatchInterface(const QList<VrTFTPInterfaceAddress> &interfaces,
                             const QHostAddress &device, const QHostAddress &deviceMask);

// Fills *localAddress with the address to announce for the device at
// deviceAddress/deviceMask: an interface on its network, else the source of
// the route toward it. False (the caller shows VrTFTPNoLocalAddressText)
// when the input is not an IPv4 address and mask or neither way works.
bool SelectLocalAddress(const QString &deviceAddress, const QString &deviceMask,
                        QString *localAddress);
