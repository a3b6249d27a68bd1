#pragma once

#include <QByteArray>
#include <QString>

// Raw byte forms of item texts, through which the binders cut a part out of a
// variable's value (one byte of flags, an address inside a longer string) and
// put it back. Numbers are little-endian, except the 16-bit codes 196 to 198,
// which are big-endian; see each syntax in VrRawValue.cpp.

// Binding-only part syntaxes (besides the item syntaxes of VrSNMPVarList.h).
enum VrPartSyntax : int {
    VrPartBool8 = 193,
    VrPartInt8 = 194,
    VrPartUInt8 = 195,
    VrPartBool16 = 196,
    VrPartInt16 = 197,
    VrPartUInt16 = 198,
};

// The bytes a text stands for in a syntax; "(NULL)" gives none. Raises
// VrSNMPException -511 for an unknown syntax and -518 for a hex, OID or date
// text that does not parse.
QByteArray VrRawFromText(const QString &text, int syntax);

// The text of raw bytes in a syntax; no bytes give "(NULL)" (the empty text
// for a display string). Raises -511 for an unknown syntax and -518 when the
// bytes are fewer than the syntax needs.
QString VrRawToText(const QByteArray &raw, int syntax);

// The part of a raw value at an offset: the syntax's width, or everything to
// the end for the variable-length syntaxes. An empty value gives an empty
// part. Raises -519 when the value ends before the part does, -511 for an
// unknown syntax.
QByteArray VrRawCut(const QByteArray &raw, int offset, int partSyntax);

// Writes a part of the given syntax into a raw value at an offset, first
// padding the value with zero bytes up to the part's end. A variable-length
// part (hex, identifier, text) ends the value, as it did when it was cut, so
// that a shorter new part leaves no tail of the old one behind.
void VrRawMerge(QByteArray &raw, int offset, const QByteArray &part, int partSyntax);
