#include "VrTFTPPacket.h"

namespace VrTFTPPacket {

namespace {

// Reads the NUL-terminated string at *pos; false if no NUL follows within data.
bool takeString(QByteArrayView data, qsizetype *pos, QByteArray *out)
{
    const qsizetype end = data.indexOf('\0', *pos);
    if (end < 0)
        return false;
    *out = data.sliced(*pos, end - *pos).toByteArray();
    *pos = end + 1;
    return true;
}

// A decimal option value without sign, spaces or overflow.
std::optional<qint64> parseNumber(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > 18)
        return std::nullopt;
    qint64 value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

void applyOption(const QByteArray &name, const QByteArray &value, Request *req)
{
    const std::optional<qint64> number = parseNumber(value);
    if (!number)
        return;
    const QByteArray key = name.toLower();
    if (key == "blksize" && *number >= MinBlockSize)
        req->blockSize = int(qMin<qint64>(*number, MaxBlockSize));
    else if (key == "tsize")
        req->transferSize = *number;
}

} // namespace

ParseResult parseRequest(QByteArrayView data, Request *out)
{
    if (data.size() < HeaderSize)
        return ParseResult::NotRequest;
    const quint16 op = opcodeOf(data);
    if (op != RRQ && op != WRQ)
        return ParseResult::NotRequest;

    Request req;
    req.opcode = op;
    qsizetype pos = 2;
    if (!takeString(data, &pos, &req.fileName) || !takeString(data, &pos, &req.mode))
        return ParseResult::Malformed;
    // Options come in name/value pairs; a trailing incomplete pair is ignored.
    while (pos < data.size()) {
        QByteArray name, value;
        if (!takeString(data, &pos, &name) || !takeString(data, &pos, &value))
            break;
        applyOption(name, value, &req);
    }
    *out = std::move(req);
    return ParseResult::Request;
}

QByteArray makeHeader(quint16 opcode, quint16 number)
{
    QByteArray p(HeaderSize, Qt::Uninitialized);
    writeU16(p.data(), opcode);
    writeU16(p.data() + 2, number);
    return p;
}

QByteArray makeError(quint16 code)
{
    QByteArray p = makeHeader(ERROR, code);
    p.append('\0');
    return p;
}

QByteArray makeOack(const QList<QPair<QByteArray, QByteArray>> &options)
{
    QByteArray p(2, Qt::Uninitialized);
    writeU16(p.data(), OACK);
    for (const auto &[name, value] : options) {
        p.append(name).append('\0');
        p.append(value).append('\0');
    }
    return p;
}

} // namespace VrTFTPPacket
