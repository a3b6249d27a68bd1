// libFuzzer target: values as an agent could send them, turned into item
// texts for every syntax an item can have. The first byte picks how the
// varbind is made:
//  - 0: the rest is the contents of a response's varbind list, parsed by
//    Net-SNMP as it parses a datagram (any number of varbinds, any types);
//  - 1: the next byte is the value's type and the rest its contents, sent as
//    one well-formed varbind;
//  - 2: the same, stored with Net-SNMP's own setter.
// Checks: a text is never longer than the value's bytes allow; hex texts give
// back the bytes; and a text written back (as a Set would send it) and read
// again gives the same text, so that saving a page unchanged never changes
// the device.

#include "VrSNMPError.h"
#include "VrSNMPValue.h"
#include "VrSNMPVarList.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace {

[[noreturn]] void fail(const char *what, int syntax, const variable_list &vb, const QString &text)
{
    const QByteArray bytes(reinterpret_cast<const char *>(vb.val.string), qsizetype(vb.val_len));
    std::fprintf(stderr, "%s: syntax %d, type 0x%02x, %zu bytes %s, text \"%s\"\n", what, syntax,
                 unsigned(vb.type), vb.val_len, bytes.toHex().constData(), qPrintable(text));
    std::abort();
}

const int Syntaxes[] = {
    VrSyntaxTruthValue, VrSyntaxInteger,  VrSyntaxOctetHex,      VrSyntaxOctetHex2, VrSyntaxNull,
    VrSyntaxOid,        VrSyntaxIpAddress, VrSyntaxCounter32,    VrSyntaxGauge32,   VrSyntaxTimeTicks,
    VrSyntaxOpaque,     VrSyntaxAddress,  VrSyntaxCounter64,     VrSyntaxUnsigned32, VrSyntaxReal,
    VrSyntaxMacAddress, VrSyntaxDateAndTime, VrSyntaxDateTime8,  VrSyntaxDisplayString,
};

bool isHexSyntax(int syntax)
{
    return syntax == VrSyntaxOctetHex || syntax == VrSyntaxOctetHex2 || syntax == VrSyntaxOpaque
        || syntax == VrSyntaxMacAddress;
}

// The longest text the value's bytes allow in a syntax.
qsizetype textBound(int syntax, const variable_list &vb)
{
    if (isHexSyntax(syntax))
        return 2 * qsizetype(vb.val_len);
    switch (syntax) {
    case VrSyntaxDisplayString: return qsizetype(vb.val_len);
    case VrSyntaxIpAddress: case VrSyntaxAddress: return 15;
    case VrSyntaxOid: return 21 * qsizetype(vb.val_len / sizeof(oid));
    case VrSyntaxTimeTicks: return 24;
    default: return 40;
    }
}

std::optional<QString> textOf(int syntax, const variable_list &vb)
{
    try {
        return VrSNMPValue::FromVarbind(syntax, vb);
    } catch (const VrSNMPException &) {
        fail("reading raised", syntax, vb, QString());
    }
}

// The text written as a Set sends it and read back; nothing when refused.
std::optional<QString> writtenAndRead(int syntax, const QString &text)
{
    static const std::vector<VrSNMPValue::Arc> name{1, 3, 6, 1, 4, 1, 99, 1, 0};
    snmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_SET);
    std::optional<QString> back;
    try {
        VrSNMPValue::AddToPdu(pdu, name, syntax, text);
        back = textOf(syntax, *pdu->variables);
    } catch (const VrSNMPException &) {
    }
    snmp_free_pdu(pdu);
    return back;
}

void check(const variable_list &vb)
{
    for (int syntax : Syntaxes) {
        const std::optional<QString> text = textOf(syntax, vb);
        if (!text)
            continue;
        if (vb.type != ASN_NULL && text->size() > textBound(syntax, vb) && *text != VrSNMPValue::NullText())
            fail("text longer than the value allows", syntax, vb, *text);
        if (isHexSyntax(syntax) && !text->isEmpty()) {
            const QByteArray bytes(reinterpret_cast<const char *>(vb.val.string), qsizetype(vb.val_len));
            if (VrSNMPValue::BytesFromHex(*text) != bytes)
                fail("hex text does not give back the bytes", syntax, vb, *text);
        }
        const std::optional<QString> back = writtenAndRead(syntax, *text);
        // The varbind's own type decides the sign: an INTEGER item shows an
        // unsigned value past 2^31 as the agent sent it, an unsigned item a
        // negative INTEGER, and neither is a value of the item to write. The
        // only texts that may not go back.
        const bool integerItem = syntax == VrSyntaxInteger || syntax == VrSyntaxCounter32
                              || syntax == VrSyntaxGauge32 || syntax == VrSyntaxUnsigned32;
        const bool signMismatch = integerItem && (syntax == VrSyntaxInteger) != (vb.type == ASN_INTEGER);
        // A day number shows a four-digit year; one beyond that range is shown
        // but cannot be typed back.
        const bool yearOutOfRange = syntax == VrSyntaxDateTime8 && text->indexOf(u'/') != 4;
        // Net-SNMP's parser refuses longer identifiers; only its setter makes them.
        const bool oidTooLong = syntax == VrSyntaxOid && vb.val_len / sizeof(oid) > MAX_OID_LEN;
        if (oidTooLong)
            continue;
        if (!back && !signMismatch && !yearOutOfRange)
            fail("text refused when written back", syntax, vb, *text);
        // A day number is shown to the second; from then on it is stable.
        if (back && syntax == VrSyntaxDateTime8) {
            if (writtenAndRead(syntax, *back) != back)
                fail("day number text not stable", syntax, vb, *back);
        } else if (back && *back != *text) {
            fail("text changed when written back", syntax, vb, *back);
        }
    }
}

void appendLength(QByteArray &out, qsizetype length)
{
    if (length < 0x80) {
        out += char(length);
    } else if (length < 0x100) {
        out += '\x81';
        out += char(length);
    } else {
        out += '\x82';
        out += char(length >> 8);
        out += char(length & 0xff);
    }
}

QByteArray tlv(uchar type, const QByteArray &contents)
{
    QByteArray out(1, char(type));
    appendLength(out, contents.size());
    return out + contents;
}

void parsed(const QByteArray &varbinds)
{
    const QByteArray body = QByteArray("\x02\x01\x01\x02\x01\x00\x02\x01\x00", 9) + tlv(0x30, varbinds);
    QByteArray message = tlv(SNMP_MSG_RESPONSE, body);
    snmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_RESPONSE);
    size_t length = size_t(message.size());
    if (snmp_pdu_parse(pdu, reinterpret_cast<u_char *>(message.data()), &length) == 0) {
        for (const variable_list *vb = pdu->variables; vb; vb = vb->next_variable)
            check(*vb);
    }
    snmp_free_pdu(pdu);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool quiet = (snmp_disable_log(), true); // parse errors are expected here
    (void)quiet;
    if (size < 2 || size > 60000)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0:
        parsed(rest);
        break;
    case 1: {
        static const QByteArray name("\x06\x09\x2b\x06\x01\x04\x01\x63\x01\x01\x00", 11);
        parsed(tlv(0x30, name + tlv(uchar(rest[0]), rest.mid(1))));
        break;
    }
    default: {
        variable_list vb{};
        if (snmp_set_var_typed_value(&vb, uchar(rest[0]), rest.constData() + 1, size_t(rest.size() - 1)) == 0)
            check(vb);
        snmp_free_var_internals(&vb);
        break;
    }
    }
    return 0;
}
