#pragma once

#include <QLoggingCategory>
#include <QString>
#include <functional>
#include <stdexcept>

Q_DECLARE_LOGGING_CATEGORY(lcTftp)

// Status codes the server and its sessions report to their owner. The error
// codes -1101 .. -1108 mirror the TFTP error codes 0 .. 7.
namespace VrTFTPStatus {
constexpr int Success = 3;
constexpr int Transferring = 2;
constexpr int Connected = 1;
constexpr int Disconnected = 0;
constexpr int Undefined = -1101;
constexpr int FileNotFound = -1102;
constexpr int AccessViolation = -1103;
constexpr int DiskFull = -1104;
constexpr int BadOperation = -1105;
constexpr int UnknownPort = -1106;
constexpr int FileExists = -1107;
constexpr int NoSuchUser = -1108;
constexpr int SocketOpenFailed = -1109;
constexpr int SocketIoFailed = -1110;
constexpr int NotReady = -1111;
constexpr int BadPacket = -1112;
constexpr int Timeout = -1113;
constexpr int Canceled = -1114;

constexpr int fromTftpError(int tftpError) { return Undefined - tftpError; }
} // namespace VrTFTPStatus

// Text of a status code; empty for codes outside the table.
QString VrTFTPStatusText(int code);

// The status record handed to the owner's callback.
struct VrTFTPMsg {
    int status = VrTFTPStatus::NotReady;
    QString statusText = VrTFTPStatusText(VrTFTPStatus::NotReady);
    int requestKind = 1;            // 1 read request, 2 write request
    QString mode = QStringLiteral("octet");
    QString peerAddress = QStringLiteral("0.0.0.0");
    QString localAddress = QStringLiteral("127.0.0.1");
    int serverPort = 69;
    QString reservedText;
    QString fileName;               // as received in the request
    qint64 bytesTransferred = 0;
    int lastBlockLength = -1;
    int peerPort = 0;
    int sessionNumber = -1;
    int reservedNumber = 0;
    int timeout = 1000;             // per wait, in units of 10 ms
    int sendCount = 0;              // sends of the current DATA block

    void setStatus(int code)
    {
        status = code;
        statusText = VrTFTPStatusText(code);
    }
};

// Called for every status report; setting *cancel ends the session with
// Canceled at its next step.
using VrTFTPCallback = std::function<void(VrTFTPMsg *msg, bool *cancel)>;

// Raised when the server cannot listen; code() is the status code (-1109).
class VrTFTPException : public std::runtime_error
{
public:
    explicit VrTFTPException(int code);
    int code() const { return m_code; }
    QString text() const { return VrTFTPStatusText(m_code); }

private:
    int m_code;
};
