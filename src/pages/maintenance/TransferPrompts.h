#pragma once
// What the transfer pages tell the user about their TFTP server.
#include <QString>

class QWidget;

// The workstation address to announce to the device; shows the usual message
// and returns false when none reaches it.
bool AnnounceAddress(QWidget *page, QString *address);

// The message for a server that cannot listen on the port (69, or the one
// QRT5150_TFTP_PORT names), with how to free or allow it; the page closes
// after it, the program goes on.
void ReportTftpInitError(QWidget *page, const QString &error, quint16 port);
