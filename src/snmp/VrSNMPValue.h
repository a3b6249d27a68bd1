#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct variable_list;
struct snmp_pdu;

// Conversion between the text values of variable-list items and SNMP values,
// by item syntax code (VrSNMPSyntax). Reading works from the varbind's own
// type and bytes, never through MIB-driven printing.
//
// Text forms:
//  - OCTET STRING shown in hex (3, 4, 68, 73): two upper-case hex digits per
//    byte, nothing between; when parsed, blanks are ignored and an odd digit
//    count makes the first digit a byte by itself.
//  - TimeTicks (67): "D days, HH:MM:SS.hh", e.g. "1 days, 02:03:04.05";
//    parsed back from that form or from a plain number of hundredths.
//  - Counter64 (70): unsigned decimal.
//  - 8-byte real (72) and day-number date-time (75): an IEEE double in network
//    byte order; 75 is shown as "yyyy/mm/dd hh:nn:ss am/pm" (12-hour clock),
//    the day number counting from 1899-12-30.
//  - DateAndTime (74): the VrDateTime text, e.g. "2009-7-15,13:45:30.5".
//  - "(NULL)": a null value, sent as a NULL varbind.
class VrSNMPValue
{
public:
    using Arc = unsigned long; // Net-SNMP's OID arc type

    static const QString &NullText();
    // Whether the syntax code is one of the item syntaxes a value can have.
    static bool IsKnownSyntax(int syntax);
    // The text of a value that prints empty: the empty text for the hex
    // syntaxes and DisplayString, "(NULL)" for every other syntax.
    static QString PrintedEmpty(int syntax);

    // The text of a varbind for an item of the given syntax; nothing when the
    // varbind's type (or length) does not fit the syntax. Raises -511 for an
    // unknown syntax code.
    static std::optional<QString> FromVarbind(int syntax, const variable_list &vb);

    // Appends a varbind carrying the text as the given syntax. Raises -511 for
    // an unknown syntax code or a text that is not a value of it.
    static void AddToPdu(snmp_pdu *pdu, const std::vector<Arc> &name, int syntax,
                         const QString &text);

    // Index arcs of a table row. DecodeIndex takes the value of one key from
    // arcs[pos...] and advances pos; nothing when the arcs run out or do not
    // form a value. EncodeIndex gives the dotted arcs of a key value and raises
    // -511 like AddToPdu.
    static std::optional<QString> DecodeIndex(int syntax, bool implied,
                                              const std::vector<Arc> &arcs, size_t &pos);
    static QString EncodeIndex(int syntax, bool implied, const QString &value);

    // Dotted OID text; a leading dot is accepted. Nothing for a malformed text.
    static std::optional<std::vector<Arc>> ParseOid(const QString &text);
    static QString OidText(const Arc *arcs, size_t count);

    static QString HexText(const QByteArray &bytes);
    static std::optional<QByteArray> BytesFromHex(const QString &text);

    static QString TimeTicksText(uint32_t hundredths);
    static std::optional<uint32_t> TimeTicksFromText(const QString &text);

    static QString DayNumberText(double dayNumber);
    static std::optional<double> DayNumberFromText(const QString &text);
};
