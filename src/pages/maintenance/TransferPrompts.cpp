#include "TransferPrompts.h"

#include "TransferWatch.h"
#include "VrMessageBox.h"
#include "VrSNMPTarget.h"
#include "VrTFTPLocalAddress.h"

#include <QCoreApplication>
#include <QDialog>

bool AnnounceAddress(QWidget *page, QString *address)
{
    *address = TransferServerAddress(g_SNMPDevice.address);
    if (address->isEmpty()) {
        VrMessageBox(page, QString::fromLatin1(VrTFTPNoLocalAddressText), QStringLiteral("Warning"));
        return false;
    }
    return true;
}

void ReportTftpInitError(QWidget *page, const QString &error, quint16 port)
{
    QString advice;
    if (port < 1024) {
        advice = QStringLiteral("The file transfers of this page need UDP port %1. To allow it, run once as root:\n"
                                "setcap cap_net_bind_service=+ep %2\n"
                                "or set QRT5150_TFTP_PORT to a port above 1023 that the device uses.")
                     .arg(port)
                     .arg(QCoreApplication::applicationFilePath());
    } else {
        // Anyone may bind such a port: another program holds it.
        advice = QStringLiteral("The file transfers of this page need UDP port %1 (QRT5150_TFTP_PORT), which "
                                "another program is using. Close that program or set QRT5150_TFTP_PORT to a "
                                "free port that the device uses.")
                     .arg(port);
    }
    VrMessageBox(page, QStringLiteral("TFTP Service Init Error:") + error + QStringLiteral("\n\n") + advice,
                 QStringLiteral("Error"));
    if (auto *dialog = qobject_cast<QDialog *>(page))
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
}
