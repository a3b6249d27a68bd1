#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Longest line read from a text file; longer lines are cut there.
inline constexpr int VrMaxLineLength = 1023;

// The non-blank lines of a text file, in file order, each without its line end
// and not trimmed (leading blanks are kept). A line that is blank after
// trimming is skipped. Lines longer than VrMaxLineLength are cut. Returns
// nothing when the file cannot be opened.
std::optional<QStringList> ReadLines(const QString &fileName);

// The text without its first and last character when both are a double quote
// (a lone '"' counts as both); otherwise unchanged.
QString Unquote(const QString &text);

// The 1-based position of the last character of the run of characters from
// `set` that begins at the 1-based position `start`; 0 when the character
// there is not in the set or `start` lies outside the text.
int SpanOf(const QString &text, int start, const QString &set);

// Every occurrence of `search` replaced, scanning left to right; inserted
// replacements are not scanned again. An empty search text changes nothing.
QString ReplaceAll(const QString &text, const QString &search, const QString &replacement);

// The longest leading number of a text as the C library reads it (leading
// blanks skipped, decimal or hexadecimal, "inf", "nan"), independent of the
// process locale; 0 when the text does not start with a number.
double LeadingNumber(QStringView text);

// A number in its shortest exact decimal form for messages: 1 and 4094, not
// 1.0; 2.2250738585072014e-308 keeps its exponent.
QString ShortestNumber(double value);

// A number in its shortest exact fixed-point form, never with an exponent, so
// that it can be put back into an arithmetic expression ("+" and "-" of an
// exponent would otherwise be read as operators).
QString FixedNumber(double value);

// The entry of a directory whose name equals `name` without regard to letter
// case ("errmsg", "ErrMsg", ...), joined to the directory; the plain join when
// there is none. Files written on Windows installations are matched this way.
// An empty directory is the working directory.
QString FindEntryIgnoringCase(const QString &directory, const QString &name);
