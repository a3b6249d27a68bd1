#include "VrTFTPMsg.h"

Q_LOGGING_CATEGORY(lcTftp, "qrt.tftp")

QString VrTFTPStatusText(int code)
{
    struct Entry {
        int code;
        QString text;
    };
    // QStringLiteral keeps the texts static: reports happen once per block.
    static const Entry table[] = {
        {3, QStringLiteral("(VrTFTP) Success to transfer file.")},
        {2, QStringLiteral("(VrTFTP) File is transferring...")},
        {1, QStringLiteral("(VrTFTP) A TFTP session is connected...")},
        {0, QStringLiteral("(VrTFTP) A TFTP session is disconnected...")},
        {-1101, QStringLiteral("(VrTFTP) Undefined error:")},
        {-1102, QStringLiteral("(VrTFTP) File not found!")},
        {-1103, QStringLiteral("(VrTFTP) Access violation!")},
        {-1104, QStringLiteral("(VrTFTP) Disk full!")},
        {-1105, QStringLiteral("(VrTFTP) Bad operation!")},
        {-1106, QStringLiteral("(VrTFTP) Unknown port!")},
        {-1107, QStringLiteral("(VrTFTP) File already exist!")},
        {-1108, QStringLiteral("(VrTFTP) No such user!")},
        {-1109, QStringLiteral("(VrTFTP) Fail to open socket!Please check if the network is ready.")},
        {-1110, QStringLiteral("(VrTFTP) Fail to send or receive socket packet!")},
        {-1111, QStringLiteral("(VrTFTP) Socket is not ready!")},
        {-1112, QStringLiteral("(VrTFTP) Bad packet!")},
        {-1113, QStringLiteral("(VrTFTP) Timeout!")},
        {-1114, QStringLiteral("(VrTFTP) Transfer has been canceled.")},
    };
    for (const Entry &e : table) {
        if (e.code == code)
            return e.text;
    }
    return {};
}

VrTFTPException::VrTFTPException(int code)
    : std::runtime_error(VrTFTPStatusText(code).toStdString()), m_code(code)
{
}
