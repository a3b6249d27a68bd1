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
