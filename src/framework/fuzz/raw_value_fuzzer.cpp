// libFuzzer target: the raw byte forms through which the binders show a part
// of a device value (one byte of flags, an address inside a longer string)
// and put an edited part back. Input: a syntax byte, an offset byte, then the
// value's bytes as they came from the device. Checks: a part put back
// unchanged leaves the value as it was; a part's text read back gives the same
// text; for the exact syntaxes it also gives the same bytes.

#include "VrRawValue.h"
#include "VrSNMPError.h"
#include "VrSNMPVarList.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const int Syntaxes[] = {
    VrSyntaxTruthValue, VrSyntaxInteger,     VrSyntaxOctetHex,  VrSyntaxOctetHex2,  VrSyntaxNull,
    VrSyntaxOid,        VrSyntaxIpAddress,   VrSyntaxCounter32, VrSyntaxGauge32,    VrSyntaxTimeTicks,
    VrSyntaxOpaque,     VrSyntaxAddress,     VrSyntaxCounter64, VrSyntaxUnsigned32, VrSyntaxReal,
    VrSyntaxMacAddress, VrSyntaxDateAndTime, VrSyntaxDateTime8, VrSyntaxDisplayString,
    VrPartBool8,        VrPartInt8,          VrPartUInt8,       VrPartBool16,       VrPartInt16,
    VrPartUInt16,
};

[[noreturn]] void fail(const char *what, int syntax, int offset, const QByteArray &raw, const QString &text)
{
    std::fprintf(stderr, "%s: syntax %d, offset %d, value %s, text \"%s\"\n", what, syntax, offset,
                 raw.toHex().constData(), qPrintable(text));
    std::abort();
}

// Syntaxes whose text holds every bit of the part's bytes.
bool exact(int syntax)
{
    switch (syntax) {
    case VrSyntaxInteger: case VrSyntaxCounter32: case VrSyntaxGauge32: case VrSyntaxUnsigned32:
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxMacAddress:
    case VrSyntaxIpAddress: case VrSyntaxAddress: case VrSyntaxTimeTicks: case VrSyntaxCounter64:
    case VrPartInt8: case VrPartUInt8: case VrPartInt16: case VrPartUInt16:
        return true;
    default:
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > 4096)
        return 0;
    const int syntax = Syntaxes[data[0] % std::size(Syntaxes)];
    const int offset = data[1];
    const QByteArray raw(reinterpret_cast<const char *>(data) + 2, qsizetype(size - 2));

    QByteArray part;
    try {
        part = VrRawCut(raw, offset, syntax);
    } catch (const VrSNMPException &e) {
        if (e.Code() != VrErrPartIndexRange || offset < raw.size() - 10)
            fail("cut refused a part inside the value", syntax, offset, raw, QString());
        return 0;
    }
    if (!raw.isEmpty() && syntax != VrSyntaxNull) {
        QByteArray merged = raw;
        VrRawMerge(merged, offset, part, syntax);
        if (merged != raw)
            fail("putting a part back unchanged changed the value", syntax, offset, raw, QString());
    }

    QString text;
    try {
        text = VrRawToText(part, syntax);
    } catch (const VrSNMPException &e) {
        // Only a part too short for its syntax: the variable-length syntaxes
        // take what is there.
        if (e.Code() != VrErrBadPartValue || part.size() >= 11)
            fail("a whole part refused", syntax, offset, raw, QString());
        return 0;
    }
    QByteArray back;
    try {
        back = VrRawFromText(text, syntax);
    } catch (const VrSNMPException &) {
        // A day number beyond year 9999 is shown but cannot be typed back.
        if (syntax == VrSyntaxDateTime8 && text.indexOf(u'/') != 4)
            return 0;
        // Nor is an identifier of more arcs than SNMP allows (128).
        if (syntax == VrSyntaxOid && part.size() / 4 > 128)
            return 0;
        fail("a shown part refused when put back", syntax, offset, raw, text);
    }
    if (exact(syntax) && back != part.left(back.size()))
        fail("bytes changed through the text", syntax, offset, raw, text);
    const QString again = VrRawToText(back, syntax);
    if (syntax == VrSyntaxDateTime8) {
        if (VrRawToText(VrRawFromText(again, syntax), syntax) != again)
            fail("day number text not stable", syntax, offset, raw, again);
    } else if (again != text && !(text.isEmpty() && back.isEmpty())) {
        // An empty text (an identifier part shorter than one arc) is no value.
        fail("text changed when put back", syntax, offset, raw, again);
    }
    return 0;
}
