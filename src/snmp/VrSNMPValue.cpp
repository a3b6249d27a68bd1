#include "VrSNMPValue.h"

#include "VrDateTime.h"
#include "VrExpression.h"
#include "VrSNMPError.h"
#include "VrSNMPVarList.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QtEndian>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>

static_assert(std::is_same_v<oid, VrSNMPValue::Arc>, "Net-SNMP built with an unexpected OID arc type");

namespace {

[[noreturn]] void badSyntax()
{
    throw VrSNMPException(VrErrBadSyntax);
}

bool isIntegerType(u_char type)
{
    return type == ASN_INTEGER || type == ASN_COUNTER || type == ASN_GAUGE
        || type == ASN_TIMETICKS || type == ASN_UINTEGER;
}

bool isBytesType(u_char type)
{
    return type == ASN_OCTET_STR || type == ASN_OPAQUE || type == ASN_IPADDRESS
        || type == ASN_NSAP || type == ASN_BIT_STR;
}

QByteArray bytesOf(const variable_list &vb)
{
    return QByteArray(reinterpret_cast<const char *>(vb.val.string), qsizetype(vb.val_len));
}

QString dottedQuad(const uchar *b)
{
    return QStringLiteral("%1.%2.%3.%4").arg(b[0]).arg(b[1]).arg(b[2]).arg(b[3]);
}

std::optional<QByteArray> parseQuad(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    QByteArray bytes;
    for (const QString &part : parts) {
        bool ok = false;
        const uint n = part.toUInt(&ok);
        if (!ok || n > 255)
            return std::nullopt;
        bytes.append(char(n));
    }
    return bytes;
}

double doubleFromBigEndian(const QByteArray &bytes)
{
    const quint64 bits = qFromBigEndian<quint64>(bytes.constData());
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

QByteArray doubleToBigEndian(double d)
{
    quint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    QByteArray bytes(8, Qt::Uninitialized);
    qToBigEndian(bits, bytes.data());
    return bytes;
}

std::optional<double> parseDouble(const QString &text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(d) : std::nullopt;
}

std::optional<quint64> parseUnsigned64(const QString &text)
{
    bool ok = false;
    const quint64 n = text.trimmed().toULongLong(&ok);
    return ok ? std::optional<quint64>(n) : std::nullopt;
}

std::optional<uint32_t> parseUnsigned32(const QString &text)
{
    bool ok = false;
    const uint n = text.trimmed().toUInt(&ok);
    return ok ? std::optional<uint32_t>(n) : std::nullopt;
}

std::optional<int32_t> parseSigned32(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int32_t>(n) : std::nullopt;
}

template <typename T>
T required(const std::optional<T> &value)
{
    if (!value)
        badSyntax();
    return *value;
}

// The text of a syntax whose value travels as raw bytes (OCTET STRING family).
std::optional<QString> textOfBytes(int syntax, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString(); // prints empty
    switch (syntax) {
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxMacAddress:
        return VrSNMPValue::HexText(bytes);
    case VrSyntaxDisplayString:
        return QString::fromLatin1(bytes);
    case VrSyntaxReal:
        if (bytes.size() != 8)
            return std::nullopt;
        return QString::number(doubleFromBigEndian(bytes), 'g', QLocale::FloatingPointShortest);
    case VrSyntaxDateTime8:
        if (bytes.size() != 8)
            return std::nullopt;
        return VrSNMPValue::DayNumberText(doubleFromBigEndian(bytes));
    case VrSyntaxDateAndTime:
        // DateAndTime is 8 bytes without, 11 bytes with the offset from UTC.
        if (bytes.size() != 8 && bytes.size() != 11)
            return std::nullopt;
        return VrDateTime::FromRaw(bytes).ToText();
    case VrSyntaxIpAddress: case VrSyntaxAddress:
        if (bytes.size() != 4)
            return std::nullopt;
        return dottedQuad(reinterpret_cast<const uchar *>(bytes.constData()));
    default:
        return std::nullopt;
    }
}

// The bytes of a text for the OCTET STRING family.
QByteArray bytesOfText(int syntax, const QString &text)
{
    switch (syntax) {
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxMacAddress:
        return required(VrSNMPValue::BytesFromHex(text));
    case VrSyntaxDisplayString:
        return text.toLatin1();
    case VrSyntaxReal:
        return doubleToBigEndian(required(parseDouble(text)));
    case VrSyntaxDateTime8:
        return doubleToBigEndian(required(VrSNMPValue::DayNumberFromText(text)));
    case VrSyntaxDateAndTime:
        return VrDateTime(text).ToRaw();
    case VrSyntaxIpAddress: case VrSyntaxAddress:
        return required(parseQuad(text));
    default:
        badSyntax();
    }
}

} // namespace

const QString &VrSNMPValue::NullText()
{
    static const QString text = QStringLiteral("(NULL)");
    return text;
}

std::optional<QString> VrSNMPValue::FromVarbind(int syntax, const variable_list &vb)
{
    if (!VrSNMPValue::IsKnownSyntax(syntax))
        badSyntax();
    if (syntax == VrSyntaxNull)
        return NullText();
    if (vb.type == ASN_NULL)
        return PrintedEmpty(syntax);

    switch (syntax) {
    case VrSyntaxTruthValue:
    case VrSyntaxInteger:
    case VrSyntaxCounter32:
    case VrSyntaxGauge32:
    case VrSyntaxUnsigned32:
    case VrSyntaxTimeTicks: {
        if (!isIntegerType(vb.type) || !vb.val.integer)
            return std::nullopt;
        const long raw = *vb.val.integer;
        if (syntax == VrSyntaxTruthValue)
            return QString::fromLatin1(raw == 1 ? "true" : "false");
        if (syntax == VrSyntaxTimeTicks)
            return TimeTicksText(uint32_t(raw));
        // The varbind's own type decides the sign, whatever the item says.
        if (vb.type == ASN_INTEGER)
            return QString::number(int32_t(raw));
        return QString::number(uint32_t(raw));
    }
    case VrSyntaxCounter64:
        if (vb.type == ASN_COUNTER64 && vb.val.counter64) {
            const quint64 value = (quint64(vb.val.counter64->high & 0xffffffffUL) << 32)
                                | (vb.val.counter64->low & 0xffffffffUL);
            return QString::number(value);
        }
        if (isIntegerType(vb.type) && vb.val.integer)
            return QString::number(uint32_t(*vb.val.integer));
        return std::nullopt;
    case VrSyntaxOid:
        if (vb.type != ASN_OBJECT_ID || !vb.val.objid)
            return std::nullopt;
        return OidText(vb.val.objid, vb.val_len / sizeof(oid));
    default:
        if (!isBytesType(vb.type) || (vb.val_len && !vb.val.string))
            return std::nullopt;
        const std::optional<QString> text = textOfBytes(syntax, bytesOf(vb));
        if (text && text->isEmpty())
            return PrintedEmpty(syntax);
        return text;
    }
}

QString VrSNMPValue::PrintedEmpty(int syntax)
{
    switch (syntax) {
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque:
    case VrSyntaxMacAddress: case VrSyntaxDisplayString:
        return QString();
    default:
        return NullText();
    }
}

void VrSNMPValue::AddToPdu(snmp_pdu *pdu, const std::vector<Arc> &name, int syntax,
                           const QString &text)
{
    if (!VrSNMPValue::IsKnownSyntax(syntax))
        badSyntax();
    const oid *arcs = name.data();
    const size_t count = name.size();
    if (text == NullText() || syntax == VrSyntaxNull) {
        snmp_pdu_add_variable(pdu, arcs, count, ASN_NULL, nullptr, 0);
        return;
    }
    switch (syntax) {
    case VrSyntaxTruthValue:
    case VrSyntaxInteger: {
        const long value = syntax == VrSyntaxTruthValue ? (text == QLatin1String("true") ? 1 : 0)
                                                        : required(parseSigned32(text));
        snmp_pdu_add_variable(pdu, arcs, count, ASN_INTEGER, &value, sizeof value);
        return;
    }
    case VrSyntaxCounter32:
    case VrSyntaxGauge32:
    case VrSyntaxUnsigned32:
    case VrSyntaxTimeTicks: {
        const u_char type = syntax == VrSyntaxCounter32 ? ASN_COUNTER
                          : syntax == VrSyntaxGauge32   ? ASN_GAUGE
                          : syntax == VrSyntaxTimeTicks ? ASN_TIMETICKS
                                                        : ASN_UINTEGER;
        const u_long value = syntax == VrSyntaxTimeTicks ? required(TimeTicksFromText(text))
                                                         : required(parseUnsigned32(text));
        snmp_pdu_add_variable(pdu, arcs, count, type, &value, sizeof value);
        return;
    }
    case VrSyntaxCounter64: {
        const quint64 value = required(parseUnsigned64(text));
        counter64 c64;
        c64.high = u_long(value >> 32);
        c64.low = u_long(value & 0xffffffffULL);
        snmp_pdu_add_variable(pdu, arcs, count, ASN_COUNTER64, &c64, sizeof c64);
        return;
    }
    case VrSyntaxOid: {
        const std::vector<Arc> value = required(ParseOid(text));
        snmp_pdu_add_variable(pdu, arcs, count, ASN_OBJECT_ID, value.data(),
                              value.size() * sizeof(oid));
        return;
    }
    default: {
        const QByteArray bytes = bytesOfText(syntax, text);
        const u_char type = syntax == VrSyntaxIpAddress ? ASN_IPADDRESS
                          : syntax == VrSyntaxAddress   ? ASN_NSAP
                          : syntax == VrSyntaxOpaque    ? ASN_OPAQUE
                                                        : ASN_OCTET_STR;
        snmp_pdu_add_variable(pdu, arcs, count, type, bytes.constData(), size_t(bytes.size()));
        return;
    }
    }
}

std::optional<QString> VrSNMPValue::DecodeIndex(int syntax, bool implied,
                                                const std::vector<Arc> &arcs,
                                                size_t &pos)
{
    if (!VrSNMPValue::IsKnownSyntax(syntax))
        badSyntax();
    const size_t left = arcs.size() - std::min(pos, arcs.size());
    auto take = [&](size_t n) -> std::optional<std::vector<Arc>> {
        if (n > left)
            return std::nullopt;
        std::vector<Arc> part(arcs.begin() + long(pos), arcs.begin() + long(pos + n));
        pos += n;
        return part;
    };
    auto takeBytes = [&](size_t n) -> std::optional<QByteArray> {
        const auto part = take(n);
        if (!part)
            return std::nullopt;
        QByteArray bytes;
        for (Arc arc : *part) {
            if (arc > 255)
                return std::nullopt;
            bytes.append(char(arc));
        }
        return bytes;
    };
    // Variable-length keys carry a length arc unless they are the implied last key.
    auto variableLength = [&]() -> std::optional<size_t> {
        if (implied)
            return left;
        const auto length = take(1);
        if (!length || (*length)[0] > left - 1)
            return std::nullopt;
        return size_t((*length)[0]);
    };

    switch (syntax) {
    case VrSyntaxNull:
        return NullText();
    case VrSyntaxTruthValue: case VrSyntaxInteger: case VrSyntaxCounter32: case VrSyntaxGauge32:
    case VrSyntaxUnsigned32: case VrSyntaxTimeTicks: {
        const auto arc = take(1);
        if (!arc)
            return std::nullopt;
        const uint32_t value = uint32_t((*arc)[0]);
        if (syntax == VrSyntaxTruthValue)
            return QString::fromLatin1(value == 1 ? "true" : "false");
        if (syntax == VrSyntaxInteger)
            return QString::number(int32_t(value));
        if (syntax == VrSyntaxTimeTicks)
            return TimeTicksText(value);
        return QString::number(value);
    }
    case VrSyntaxCounter64: {
        const auto part = take(2);
        if (!part)
            return std::nullopt;
        return QString::number((quint64((*part)[0] & 0xffffffffUL) << 32) | ((*part)[1] & 0xffffffffUL));
    }
    case VrSyntaxOid: {
        const auto length = variableLength();
        const auto part = length ? take(*length) : std::nullopt;
        if (!part)
            return std::nullopt;
        return OidText(part->data(), part->size());
    }
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxDisplayString: {
        const auto length = variableLength();
        const auto bytes = length ? takeBytes(*length) : std::nullopt;
        if (!bytes)
            return std::nullopt;
        return textOfBytes(syntax, *bytes);
    }
    case VrSyntaxReal: case VrSyntaxDateTime8: {
        // Two arcs: the high and low halves of the 8 bytes.
        const auto part = take(2);
        if (!part)
            return std::nullopt;
        QByteArray bytes(8, Qt::Uninitialized);
        qToBigEndian(uint32_t((*part)[0]), bytes.data());
        qToBigEndian(uint32_t((*part)[1]), bytes.data() + 4);
        return textOfBytes(syntax, bytes);
    }
    default: {
        const size_t fixed = syntax == VrSyntaxMacAddress ? 6 : syntax == VrSyntaxDateAndTime ? 11 : 4;
        const auto bytes = takeBytes(fixed);
        if (!bytes)
            return std::nullopt;
        return textOfBytes(syntax, *bytes);
    }
    }
}

QString VrSNMPValue::EncodeIndex(int syntax, bool implied, const QString &value)
{
    if (!VrSNMPValue::IsKnownSyntax(syntax))
        badSyntax();
    std::vector<Arc> arcs;
    auto addBytes = [&](const QByteArray &bytes, bool withLength) {
        if (withLength)
            arcs.push_back(Arc(bytes.size()));
        for (char c : bytes)
            arcs.push_back(uchar(c));
    };
    switch (syntax) {
    case VrSyntaxNull:
        return QString();
    case VrSyntaxTruthValue:
        arcs.push_back(value == QLatin1String("true") ? 1 : 0);
        break;
    case VrSyntaxInteger:
        arcs.push_back(uint32_t(required(parseSigned32(value))));
        break;
    case VrSyntaxCounter32: case VrSyntaxGauge32: case VrSyntaxUnsigned32:
        arcs.push_back(required(parseUnsigned32(value)));
        break;
    case VrSyntaxTimeTicks:
        arcs.push_back(required(TimeTicksFromText(value)));
        break;
    case VrSyntaxCounter64: {
        const quint64 n = required(parseUnsigned64(value));
        arcs.push_back(Arc(n >> 32));
        arcs.push_back(Arc(n & 0xffffffffULL));
        break;
    }
    case VrSyntaxOid: {
        const std::vector<Arc> part = required(ParseOid(value));
        if (!implied)
            arcs.push_back(part.size());
        arcs.insert(arcs.end(), part.begin(), part.end());
        break;
    }
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxDisplayString:
        addBytes(bytesOfText(syntax, value), !implied);
        break;
    case VrSyntaxReal: case VrSyntaxDateTime8: {
        const QByteArray bytes = bytesOfText(syntax, value);
        arcs.push_back(qFromBigEndian<uint32_t>(bytes.constData()));
        arcs.push_back(qFromBigEndian<uint32_t>(bytes.constData() + 4));
        break;
    }
    default: {
        const QByteArray bytes = bytesOfText(syntax, value);
        if ((syntax == VrSyntaxMacAddress && bytes.size() != 6)
            || (syntax == VrSyntaxDateAndTime && bytes.size() != 11))
            badSyntax();
        addBytes(bytes, false);
        break;
    }
    }
    return OidText(arcs.data(), arcs.size());
}

std::optional<std::vector<VrSNMPValue::Arc>> VrSNMPValue::ParseOid(const QString &text)
{
    // Hand-rolled: this runs for every item of every exchange.
    std::vector<Arc> arcs;
    qsizetype i = text.startsWith(QLatin1Char('.')) ? 1 : 0;
    if (i == text.size())
        return arcs;
    arcs.reserve(16);
    while (true) {
        quint64 arc = 0;
        const qsizetype start = i;
        while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
            arc = arc * 10 + quint64(text.at(i).unicode() - '0');
            if (arc > 0xffffffffULL)
                return std::nullopt;
            ++i;
        }
        if (i == start)
            return std::nullopt;
        arcs.push_back(Arc(arc));
        if (i == text.size())
            break;
        if (text.at(i) != QLatin1Char('.'))
            return std::nullopt;
        ++i;
    }
    if (arcs.size() > MAX_OID_LEN)
        return std::nullopt;
    return arcs;
}

QString VrSNMPValue::OidText(const Arc *arcs, size_t count)
{
    // One buffer and one conversion: this also runs for every varbind.
    char buffer[MAX_OID_LEN * 11];
    char *out = buffer;
    char *const end = buffer + sizeof buffer;
    for (size_t i = 0; i < count && out < end - 11; ++i) {
        if (i)
            *out++ = '.';
        out = std::to_chars(out, end, arcs[i] & 0xffffffffUL).ptr;
    }
    return QString::fromLatin1(buffer, out - buffer);
}

QString VrSNMPValue::HexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

std::optional<QByteArray> VrSNMPValue::BytesFromHex(const QString &text)
{
    QString digits;
    for (QChar c : text) {
        if (c.isSpace())
            continue;
        if (!isxdigit(c.toLatin1()))
            return std::nullopt;
        digits += c;
    }
    // An odd count makes the first digit a byte by itself.
    if (digits.size() % 2)
        digits.prepend(QLatin1Char('0'));
    return QByteArray::fromHex(digits.toLatin1());
}

QString VrSNMPValue::TimeTicksText(uint32_t hundredths)
{
    const uint32_t days = hundredths / 8640000;
    uint32_t rest = hundredths % 8640000;
    const uint32_t hours = rest / 360000;
    rest %= 360000;
    const uint32_t minutes = rest / 6000;
    rest %= 6000;
    return QStringLiteral("%1 days, %2:%3:%4.%5")
        .arg(days)
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(rest / 100, 2, 10, QLatin1Char('0'))
        .arg(rest % 100, 2, 10, QLatin1Char('0'));
}

std::optional<uint32_t> VrSNMPValue::TimeTicksFromText(const QString &text)
{
    if (const auto plain = parseUnsigned32(text))
        return plain;
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*(\d+)\s+days?,?\s+(\d+):(\d{1,2}):(\d{1,2})(?:\.(\d{1,2}))?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const quint64 fraction = m.captured(5).isEmpty() ? 0
                           : m.captured(5).size() == 1 ? m.captured(5).toULongLong() * 10
                                                       : m.captured(5).toULongLong();
    const quint64 total = m.captured(1).toULongLong() * 8640000 + m.captured(2).toULongLong() * 360000
                        + m.captured(3).toULongLong() * 6000 + m.captured(4).toULongLong() * 100
                        + fraction;
    if (total > 0xffffffffULL)
        return std::nullopt;
    return uint32_t(total);
}

namespace {
const QString &dayNumberFormat()
{
    static const QString format = QStringLiteral("yyyy/MM/dd hh:mm:ss ap");
    return format;
}
} // namespace

QString VrSNMPValue::DayNumberText(double dayNumber)
{
    // The inverse of DayNumber(): whole days from 1899-12-30, the fraction as
    // the wall-clock time of that day, to the nearest second.
    qint64 seconds = qint64(std::llround(dayNumber * 86400.0));
    qint64 days = seconds / 86400;
    seconds %= 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    const QDateTime when(QDate(1899, 12, 30).addDays(days), QTime(0, 0).addSecs(int(seconds)));
    return QLocale::c().toString(when, dayNumberFormat());
}

std::optional<double> VrSNMPValue::DayNumberFromText(const QString &text)
{
    const QDateTime when = QLocale::c().toDateTime(text.trimmed(), dayNumberFormat());
    if (!when.isValid())
        return std::nullopt;
    return DayNumber(when);
}

bool VrSNMPValue::IsKnownSyntax(int syntax)
{
    switch (syntax) {
    case VrSyntaxTruthValue: case VrSyntaxInteger: case VrSyntaxOctetHex: case VrSyntaxOctetHex2:
    case VrSyntaxNull: case VrSyntaxOid: case VrSyntaxIpAddress: case VrSyntaxCounter32:
    case VrSyntaxGauge32: case VrSyntaxTimeTicks: case VrSyntaxOpaque: case VrSyntaxAddress:
    case VrSyntaxCounter64: case VrSyntaxUnsigned32: case VrSyntaxReal: case VrSyntaxMacAddress:
    case VrSyntaxDateAndTime: case VrSyntaxDateTime8: case VrSyntaxDisplayString:
        return true;
    default:
        return false;
    }
}
