#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <optional>

// Encoding and decoding of TFTP datagrams: the RFC 1350 packet set plus the
// option acknowledgement of the option extension (blksize, tsize).
namespace VrTFTPPacket {

enum Opcode : quint16 { RRQ = 1, WRQ = 2, DATA = 3, ACK = 4, ERROR = 5, OACK = 6 };

enum ErrorCode : quint16 {
    NotDefined = 0,
    FileNotFound = 1,
    AccessViolation = 2,
    DiskFull = 3,
    IllegalOperation = 4,
    UnknownTransferId = 5,
    FileExists = 6,
    NoSuchUser = 7,
};

constexpr int HeaderSize = 4;
constexpr int DefaultBlockSize = 512;
constexpr int MinBlockSize = 8;
constexpr int MaxBlockSize = 65464;

struct Request {
    quint16 opcode = 0;
    QByteArray fileName;
    QByteArray mode;
    std::optional<int> blockSize;         // accepted blksize option
    std::optional<qint64> transferSize;   // tsize option as the client sent it
};

enum class ParseResult {
    Request,     // a well-formed RRQ or WRQ
    NotRequest,  // shorter than 4 bytes or another opcode: ignored silently
    Malformed,   // RRQ/WRQ whose name or mode is not NUL-terminated
};

// Never reads outside data; unknown or invalid options are dropped, as the
// option extension asks.
ParseResult parseRequest(QByteArrayView data, Request *out);

inline quint16 readU16(const char *p)
{
    return quint16((quint8(p[0]) << 8) | quint8(p[1]));
}

inline void writeU16(char *p, quint16 v)
{
    p[0] = char(v >> 8);
    p[1] = char(v & 0xff);
}

// Opcode and block number (or error code) of a datagram of at least 4 bytes.
inline quint16 opcodeOf(QByteArrayView d) { return readU16(d.data()); }
inline quint16 blockOf(QByteArrayView d) { return readU16(d.data() + 2); }

QByteArray makeHeader(quint16 opcode, quint16 number);
// The ERROR packets this server sends carry an empty message: 5 bytes.
QByteArray makeError(quint16 code);
QByteArray makeOack(const QList<QPair<QByteArray, QByteArray>> &options);

} // namespace VrTFTPPacket
