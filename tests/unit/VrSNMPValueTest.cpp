#include "SnmpExceptionCode.h"
#include "VrSNMPError.h"
#include "VrSNMPValue.h"
#include "VrSNMPVarList.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Arcs = std::vector<VrSNMPValue::Arc>;

struct PduDeleter {
    void operator()(snmp_pdu *pdu) const { snmp_free_pdu(pdu); }
};
using PduPtr = std::unique_ptr<snmp_pdu, PduDeleter>;

const Arcs kName{1, 3, 6, 1, 4, 1, 99999, 7, 0};

// Puts the text into a varbind as the syntax and reads it back the same way.
QString roundTrip(int syntax, const QString &text, u_char *type = nullptr)
{
    PduPtr pdu(snmp_pdu_create(SNMP_MSG_SET));
    VrSNMPValue::AddToPdu(pdu.get(), kName, syntax, text);
    if (type)
        *type = pdu->variables->type;
    return VrSNMPValue::FromVarbind(syntax, *pdu->variables).value_or(QStringLiteral("<mismatch>"));
}

std::optional<QString> readAs(int syntax, u_char type, const void *value, size_t length)
{
    PduPtr pdu(snmp_pdu_create(SNMP_MSG_RESPONSE));
    snmp_pdu_add_variable(pdu.get(), kName.data(), kName.size(), type, value, length);
    return VrSNMPValue::FromVarbind(syntax, *pdu->variables);
}

} // namespace

TEST(VrSNMPValue, HexTextIsUpperCaseWithoutSeparatorsAndParsesLeniently)
{
    EXPECT_EQ(VrSNMPValue::HexText(QByteArray("\x0a\x1b\xff", 3)), "0A1BFF");
    EXPECT_EQ(VrSNMPValue::BytesFromHex("0a 1B ff"), QByteArray("\x0a\x1b\xff", 3));
    // An odd digit count makes the first digit a byte of its own.
    EXPECT_EQ(VrSNMPValue::BytesFromHex("ABC"), QByteArray("\x0a\xbc", 2));
    EXPECT_EQ(VrSNMPValue::BytesFromHex(""), QByteArray());
    EXPECT_FALSE(VrSNMPValue::BytesFromHex("0G"));
}

TEST(VrSNMPValue, TimeTicksTextRoundTrips)
{
    const uint32_t ticks = 2 * 8640000u + 3 * 360000u + 4 * 6000u + 5 * 100u + 6u;
    EXPECT_EQ(VrSNMPValue::TimeTicksText(ticks), "2 days, 03:04:05.06");
    EXPECT_EQ(VrSNMPValue::TimeTicksText(0), "0 days, 00:00:00.00");
    EXPECT_EQ(VrSNMPValue::TimeTicksFromText("2 days, 03:04:05.06"), ticks);
    EXPECT_EQ(VrSNMPValue::TimeTicksFromText(VrSNMPValue::TimeTicksText(0xffffffffu)), 0xffffffffu);
    EXPECT_EQ(VrSNMPValue::TimeTicksFromText("12345"), 12345u);
    EXPECT_FALSE(VrSNMPValue::TimeTicksFromText("yesterday"));
    EXPECT_FALSE(VrSNMPValue::TimeTicksFromText("500 days, 00:00:00.00")); // beyond 32 bits
}

TEST(VrSNMPValue, EverySyntaxRoundTripsThroughAVarbind)
{
    struct Case {
        int syntax;
        const char *text;
        u_char type;
    };
    const Case cases[] = {
        {VrSyntaxTruthValue, "true", ASN_INTEGER},
        {VrSyntaxTruthValue, "false", ASN_INTEGER},
        {VrSyntaxInteger, "-2147483648", ASN_INTEGER},
        {VrSyntaxOctetHex, "00FF10", ASN_OCTET_STR},
        {VrSyntaxOctetHex2, "0102", ASN_OCTET_STR},
        {VrSyntaxNull, "(NULL)", ASN_NULL},
        {VrSyntaxOid, "1.3.6.1.4.1.4294967295", ASN_OBJECT_ID},
        {VrSyntaxIpAddress, "192.168.0.254", ASN_IPADDRESS},
        {VrSyntaxCounter32, "4294967295", ASN_COUNTER},
        {VrSyntaxGauge32, "7", ASN_GAUGE},
        {VrSyntaxTimeTicks, "1 days, 00:00:01.50", ASN_TIMETICKS},
        {VrSyntaxOpaque, "CAFE", ASN_OPAQUE},
        {VrSyntaxAddress, "10.1.2.3", ASN_NSAP},
        {VrSyntaxCounter64, "18446744073709551615", ASN_COUNTER64},
        {VrSyntaxUnsigned32, "4000000000", ASN_UINTEGER},
        {VrSyntaxReal, "-2.5", ASN_OCTET_STR},
        {VrSyntaxMacAddress, "0011223344AA", ASN_OCTET_STR},
        {VrSyntaxDateAndTime, "2009-7-15,13:45:30.5,-5:30", ASN_OCTET_STR},
        {VrSyntaxDateTime8, "2009/07/15 06:00:00 pm", ASN_OCTET_STR},
        {VrSyntaxDisplayString, "plain text", ASN_OCTET_STR},
    };
    for (const Case &c : cases) {
        u_char type = 0;
        EXPECT_EQ(roundTrip(c.syntax, QString::fromLatin1(c.text), &type), c.text) << c.syntax;
        EXPECT_EQ(type, c.type) << c.syntax;
    }
    // A null value goes out as NULL whatever the syntax.
    u_char type = 0;
    EXPECT_EQ(roundTrip(VrSyntaxInteger, "(NULL)", &type), "(NULL)");
    EXPECT_EQ(type, ASN_NULL);
}

TEST(VrSNMPValue, WireBytesOfFixedLayouts)
{
    // The 8-byte real and day number travel big-endian; DateAndTime's year too.
    PduPtr pdu(snmp_pdu_create(SNMP_MSG_SET));
    VrSNMPValue::AddToPdu(pdu.get(), kName, VrSyntaxReal, "1");
    VrSNMPValue::AddToPdu(pdu.get(), kName, VrSyntaxDateTime8, "1899/12/31 12:00:00 pm");
    VrSNMPValue::AddToPdu(pdu.get(), kName, VrSyntaxDateAndTime, "2009-7-15,13:45:30.5");
    const variable_list *vb = pdu->variables;
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(vb->val.string), int(vb->val_len)).toHex(),
              "3ff0000000000000");
    vb = vb->next_variable;
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(vb->val.string), int(vb->val_len)).toHex(),
              "3ff8000000000000"); // 1.5 days
    vb = vb->next_variable;
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(vb->val.string), int(vb->val_len)).toHex(),
              "07d9070f0d2d1e052b0000");
}

TEST(VrSNMPValue, ValuesThatPrintEmpty)
{
    EXPECT_EQ(readAs(VrSyntaxDisplayString, ASN_NULL, nullptr, 0), "");
    EXPECT_EQ(readAs(VrSyntaxInteger, ASN_NULL, nullptr, 0), "(NULL)");
    EXPECT_EQ(readAs(VrSyntaxOctetHex, ASN_OCTET_STR, "", 0), "");
    EXPECT_EQ(readAs(VrSyntaxMacAddress, ASN_OCTET_STR, "", 0), "");
    EXPECT_EQ(readAs(VrSyntaxDisplayString, ASN_OCTET_STR, "", 0), "");
    EXPECT_EQ(readAs(VrSyntaxIpAddress, ASN_OCTET_STR, "", 0), "(NULL)");
}

TEST(VrSNMPValue, VarbindsOfAnotherTypeAreRefused)
{
    const long number = 5;
    EXPECT_FALSE(readAs(VrSyntaxDisplayString, ASN_INTEGER, &number, sizeof number));
    EXPECT_FALSE(readAs(VrSyntaxInteger, ASN_OCTET_STR, "abc", 3));
    EXPECT_FALSE(readAs(VrSyntaxOid, ASN_OCTET_STR, "abc", 3));
    EXPECT_FALSE(readAs(VrSyntaxIpAddress, ASN_IPADDRESS, "abc", 3)); // not four bytes
    EXPECT_FALSE(readAs(VrSyntaxReal, ASN_OCTET_STR, "abc", 3));      // not eight bytes
    EXPECT_FALSE(readAs(VrSyntaxInteger, SNMP_NOSUCHOBJECT, nullptr, 0));
    EXPECT_FALSE(readAs(VrSyntaxDisplayString, SNMP_ENDOFMIBVIEW, nullptr, 0));
    // The varbind's own type decides the sign of a number.
    EXPECT_EQ(readAs(VrSyntaxInteger, ASN_GAUGE, &number, sizeof number), "5");
    const long minusOne = -1;
    EXPECT_EQ(readAs(VrSyntaxInteger, ASN_INTEGER, &minusOne, sizeof minusOne), "-1");
}

TEST(VrSNMPValue, BadSyntaxCodesAndTextsRaise511)
{
    PduPtr pdu(snmp_pdu_create(SNMP_MSG_SET));
    EXPECT_EQ(SnmpExceptionCode([&] { VrSNMPValue::AddToPdu(pdu.get(), kName, 77, "1"); }), VrErrBadSyntax);
    EXPECT_EQ(SnmpExceptionCode([&] { VrSNMPValue::AddToPdu(pdu.get(), kName, VrSyntaxInteger, "12abc"); }),
              VrErrBadSyntax);
    EXPECT_EQ(SnmpExceptionCode([&] { VrSNMPValue::AddToPdu(pdu.get(), kName, VrSyntaxIpAddress, "1.2.3.256"); }),
              VrErrBadSyntax);
    EXPECT_EQ(SnmpExceptionCode([&] { VrSNMPValue::AddToPdu(pdu.get(), kName, VrSyntaxOctetHex, "0X"); }),
              VrErrBadSyntax);
    EXPECT_EQ(SnmpExceptionCode([&] { VrSNMPValue::EncodeIndex(VrSyntaxMacAddress, false, "0011"); }),
              VrErrBadSyntax);
    const long number = 1;
    EXPECT_EQ(SnmpExceptionCode([&] { (void)readAs(0, ASN_INTEGER, &number, sizeof number); }), VrErrBadSyntax);
    EXPECT_EQ(pdu->variables, nullptr);
}

TEST(VrSNMPValue, IndexArcsOfEveryKeyKind)
{
    struct Case {
        int syntax;
        bool implied;
        const char *value;
        const char *arcs;
    };
    const Case cases[] = {
        {VrSyntaxInteger, false, "-1", "4294967295"},
        {VrSyntaxGauge32, false, "7", "7"},
        {VrSyntaxTruthValue, false, "true", "1"},
        {VrSyntaxTimeTicks, false, "0 days, 00:00:01.00", "100"},
        {VrSyntaxDisplayString, false, "ab", "2.97.98"},
        {VrSyntaxDisplayString, true, "ab", "97.98"},
        {VrSyntaxOctetHex, false, "FF00", "2.255.0"},
        {VrSyntaxOid, false, "1.3.6", "3.1.3.6"},
        {VrSyntaxOid, true, "1.3.6", "1.3.6"},
        {VrSyntaxIpAddress, false, "10.0.0.1", "10.0.0.1"},
        {VrSyntaxMacAddress, false, "0011223344AA", "0.17.34.51.68.170"},
        {VrSyntaxCounter64, false, "4294967297", "1.1"},
        {VrSyntaxReal, false, "1", "1072693248.0"},
        {VrSyntaxDateAndTime, false, "2009-7-15,13:45:30.5", "7.217.7.15.13.45.30.5.43.0.0"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(VrSNMPValue::EncodeIndex(c.syntax, c.implied, c.value), c.arcs) << c.syntax;
        if (c.implied)
            continue; // an implied key takes every arc that is left: below
        // Decoding takes exactly this key's arcs and leaves what follows.
        const Arcs arcs = *VrSNMPValue::ParseOid(QString::fromLatin1(c.arcs) + ".9.9");
        size_t pos = 0;
        EXPECT_EQ(VrSNMPValue::DecodeIndex(c.syntax, false, arcs, pos), c.value) << c.syntax;
        EXPECT_EQ(pos, arcs.size() - 2) << c.syntax;
    }
    size_t pos = 0;
    EXPECT_EQ(VrSNMPValue::DecodeIndex(VrSyntaxDisplayString, true, Arcs{97, 98}, pos), "ab");
    EXPECT_EQ(pos, 2u);
}

TEST(VrSNMPValue, IndexThatRunsOutOrIsNotBytesDecodesToNothing)
{
    size_t pos = 0;
    EXPECT_FALSE(VrSNMPValue::DecodeIndex(VrSyntaxIpAddress, false, Arcs{10, 0, 0}, pos));
    pos = 0;
    EXPECT_FALSE(VrSNMPValue::DecodeIndex(VrSyntaxDisplayString, false, Arcs{5, 97}, pos));
    pos = 0;
    EXPECT_FALSE(VrSNMPValue::DecodeIndex(VrSyntaxOctetHex, false, Arcs{1, 256}, pos));
    pos = 0;
    EXPECT_FALSE(VrSNMPValue::DecodeIndex(VrSyntaxInteger, false, Arcs{}, pos));
    pos = 0;
    EXPECT_EQ(VrSNMPValue::DecodeIndex(VrSyntaxNull, false, Arcs{}, pos), "(NULL)");
}

TEST(VrSNMPValue, OidTextIsStrict)
{
    EXPECT_EQ(VrSNMPValue::ParseOid(".1.3.6"), (Arcs{1, 3, 6}));
    EXPECT_FALSE(VrSNMPValue::ParseOid("1..3"));
    EXPECT_FALSE(VrSNMPValue::ParseOid("1.3.x"));
    EXPECT_FALSE(VrSNMPValue::ParseOid("1.4294967296"));
    const Arcs arcs{1, 3, 6, 1};
    EXPECT_EQ(VrSNMPValue::OidText(arcs.data(), arcs.size()), "1.3.6.1");
}
