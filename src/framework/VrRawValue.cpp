#include "VrRawValue.h"

#include "VrDateTime.h"
#include "VrSNMPError.h"
#include "VrSNMPValue.h"
#include "VrSNMPVarList.h"

#include <QLocale>
#include <QtEndian>
#include <cstdlib>
#include <cstring>

namespace {

const QString kNull = QStringLiteral("(NULL)");

[[noreturn]] void raise(int code)
{
    throw VrSNMPException(code);
}

// Numbers are read as the C library reads them: leading blanks, a sign,
// digits up to the first other character, 0 when there are none.
long long cSigned(const QString &text)
{
    return std::strtoll(text.toLatin1().constData(), nullptr, 10);
}

unsigned long long cUnsigned(const QString &text)
{
    return std::strtoull(text.toLatin1().constData(), nullptr, 10);
}

template <typename T>
QByteArray littleEndian(T value)
{
    QByteArray bytes(int(sizeof(T)), Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray bigEndian16(quint16 value)
{
    QByteArray bytes(2, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray doubleBytes(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return littleEndian(bits);
}

double doubleFrom(const QByteArray &raw)
{
    const quint64 bits = qFromLittleEndian<quint64>(raw.constData());
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray hexBytes(const QString &text)
{
    const std::optional<QByteArray> bytes = VrSNMPValue::BytesFromHex(text);
    if (!bytes)
        raise(VrErrBadPartValue);
    return *bytes;
}

QByteArray oidBytes(const QString &text)
{
    const auto arcs = VrSNMPValue::ParseOid(text);
    if (!arcs)
        raise(VrErrBadPartValue);
    QByteArray bytes;
    for (unsigned long arc : *arcs)
        bytes += littleEndian(quint32(arc));
    return bytes;
}

QString oidText(const QByteArray &raw)
{
    QStringList arcs;
    for (int i = 0; i + 4 <= raw.size(); i += 4)
        arcs.append(QString::number(qFromLittleEndian<quint32>(raw.constData() + i)));
    return arcs.join('.');
}

QByteArray addressBytes(const QString &text)
{
    QByteArray bytes;
    if (text.isEmpty())
        return bytes;
    for (const QString &number : text.split('.'))
        bytes.append(char(cUnsigned(number) & 0xFF));
    return bytes;
}

bool isTrue(const QString &text)
{
    return text == QLatin1String("true");
}

QString truthText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Fewest bytes a value of the syntax may have; 0 for the variable-length ones.
int minimumLength(int syntax)
{
    switch (syntax) {
    case VrSyntaxTruthValue: case VrSyntaxInteger: case VrSyntaxIpAddress: case VrSyntaxAddress:
    case VrSyntaxCounter32: case VrSyntaxGauge32: case VrSyntaxUnsigned32: case VrSyntaxTimeTicks:
        return 4;
    case VrSyntaxCounter64: case VrSyntaxReal: case VrSyntaxDateTime8:
        return 8;
    case VrSyntaxMacAddress:
        return 6;
    case VrSyntaxDateAndTime:
        return 11;
    case VrPartBool16: case VrPartInt16: case VrPartUInt16:
        return 2;
    default:
        return 0;
    }
}

// Width of a part cut out of a longer value; 0 for "to the end".
int partWidth(int syntax)
{
    switch (syntax) {
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOid: case VrSyntaxOpaque:
    case VrSyntaxDisplayString: case VrSyntaxNull:
        return 0;
    case VrPartBool8: case VrPartInt8: case VrPartUInt8:
        return 1;
    default:
        return minimumLength(syntax);
    }
}

bool knownSyntax(int syntax)
{
    return VrSNMPValue::IsKnownSyntax(syntax) || (syntax >= VrPartBool8 && syntax <= VrPartUInt16);
}

} // namespace

QByteArray VrRawFromText(const QString &text, int syntax)
{
    if (!knownSyntax(syntax))
        raise(VrErrBadSyntax);
    if (text == kNull)
        return {};
    switch (syntax) {
    case VrSyntaxTruthValue:
        return littleEndian(quint32(isTrue(text)));
    case VrSyntaxInteger:
        return littleEndian(quint32(cSigned(text)));
    case VrSyntaxCounter32: case VrSyntaxGauge32: case VrSyntaxUnsigned32:
        return littleEndian(quint32(cUnsigned(text)));
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxMacAddress:
        return hexBytes(text);
    case VrSyntaxNull:
        return {};
    case VrSyntaxOid:
        return oidBytes(text);
    case VrSyntaxIpAddress: case VrSyntaxAddress:
        return addressBytes(text);
    case VrSyntaxTimeTicks: {
        const std::optional<uint32_t> ticks = VrSNMPValue::TimeTicksFromText(text);
        if (!ticks)
            raise(VrErrBadPartValue);
        return littleEndian(quint32(*ticks));
    }
    case VrSyntaxCounter64:
        return littleEndian(quint64(cUnsigned(text)));
    case VrSyntaxReal:
        return doubleBytes(std::strtod(text.toLatin1().constData(), nullptr));
    case VrSyntaxDateAndTime:
        return VrDateTime(text).ToRaw();
    case VrSyntaxDateTime8: {
        const std::optional<double> day = VrSNMPValue::DayNumberFromText(text);
        if (!day)
            raise(VrErrBadPartValue);
        return doubleBytes(*day);
    }
    case VrSyntaxDisplayString:
        return text.toUtf8();
    case VrPartBool8:
        return QByteArray(1, char(isTrue(text)));
    case VrPartInt8: case VrPartUInt8:
        return QByteArray(1, char(cSigned(text)));
    case VrPartBool16:
        return bigEndian16(isTrue(text));
    default: // VrPartInt16, VrPartUInt16
        return bigEndian16(quint16(cSigned(text)));
    }
}

QString VrRawToText(const QByteArray &raw, int syntax)
{
    if (!knownSyntax(syntax))
        raise(VrErrBadSyntax);
    if (raw.isEmpty())
        return syntax == VrSyntaxDisplayString ? QString() : kNull;
    if (raw.size() < minimumLength(syntax))
        raise(VrErrBadPartValue);
    const char *p = raw.constData();
    switch (syntax) {
    case VrSyntaxTruthValue:
        return truthText(qFromLittleEndian<quint32>(p) != 0);
    case VrSyntaxInteger:
        return QString::number(qFromLittleEndian<qint32>(p));
    case VrSyntaxCounter32: case VrSyntaxGauge32: case VrSyntaxUnsigned32:
        return QString::number(qFromLittleEndian<quint32>(p));
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxMacAddress:
        return VrSNMPValue::HexText(raw);
    case VrSyntaxNull:
        return kNull;
    case VrSyntaxOid:
        return oidText(raw);
    case VrSyntaxIpAddress: case VrSyntaxAddress:
        return QStringLiteral("%1.%2.%3.%4").arg(quint8(p[0])).arg(quint8(p[1])).arg(quint8(p[2])).arg(quint8(p[3]));
    case VrSyntaxTimeTicks:
        return VrSNMPValue::TimeTicksText(qFromLittleEndian<quint32>(p));
    case VrSyntaxCounter64:
        return QString::number(qFromLittleEndian<quint64>(p));
    case VrSyntaxReal:
        return QString::number(doubleFrom(raw), 'g', QLocale::FloatingPointShortest);
    case VrSyntaxDateAndTime:
        return VrDateTime::FromRaw(raw.left(11)).ToText();
    case VrSyntaxDateTime8:
        return VrSNMPValue::DayNumberText(doubleFrom(raw));
    case VrSyntaxDisplayString:
        return QString::fromUtf8(raw);
    case VrPartBool8:
        return truthText(p[0] != 0);
    case VrPartInt8:
        return QString::number(qint8(p[0]));
    case VrPartUInt8:
        return QString::number(quint8(p[0]));
    case VrPartBool16:
        return truthText(qFromBigEndian<quint16>(p) != 0);
    default: // VrPartInt16, VrPartUInt16
        return QString::number(qFromBigEndian<quint16>(p));
    }
}

QByteArray VrRawCut(const QByteArray &raw, int offset, int partSyntax)
{
    if (!knownSyntax(partSyntax))
        raise(VrErrBadSyntax);
    if (raw.isEmpty() || partSyntax == VrSyntaxNull)
        return {};
    const int width = partWidth(partSyntax);
    if (offset < 0 || raw.size() < qsizetype(offset) + width)
        raise(VrErrPartIndexRange);
    return width ? raw.mid(offset, width) : raw.mid(offset);
}

void VrRawMerge(QByteArray &raw, int offset, const QByteArray &part, int partSyntax)
{
    const qsizetype end = qsizetype(offset) + part.size();
    if (raw.size() < end)
        raw.append(QByteArray(end - raw.size(), '\0'));
    else if (partWidth(partSyntax) == 0)
        raw.truncate(end);
    std::memcpy(raw.data() + offset, part.constData(), size_t(part.size()));
}
