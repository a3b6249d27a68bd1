#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// Static option tables as pages declare them, ended by an entry whose display
// text is null: { {1, "Access Point"}, {2, "WDS with AP"}, {0, nullptr} }.
struct VrOptionNumDef {
    int32_t value;
    const char *text;
};
struct VrOptionTextDef {
    const char *value;
    const char *text;
};

// Maps raw values of a MIB object to the texts the user sees, and back.
// Kind 1: numeric values; kind 2: text values; kind 3: text prefixes (the rest
// of the value after a matching prefix is carried over to the display text and
// back). For a check box bound through an option list, entry 0 means
// "unchecked" and entry 1 "checked".
class VrOptionList
{
public:
    enum Kind { Numeric = 1, Text = 2, Prefix = 3 };

    struct Entry {
        int32_t number = 0; // kind 1
        QString value;      // kinds 2 and 3; for kind 1 the number in decimal
        QString text;
    };

    VrOptionList(const VrOptionNumDef *table, bool caseSensitive = false);
    VrOptionList(const VrOptionTextDef *table, Kind kind, bool caseSensitive = false);

    void Append(const VrOptionNumDef *table);
    void Append(const VrOptionTextDef *table);

    Kind GetKind() const { return m_kind; }
    bool CaseSensitive() const { return m_caseSensitive; }
    int Count() const { return int(m_entries.size()); }
    // The entry at a position; the position must be valid.
    const Entry &At(int position) const { return m_entries.at(size_t(position)); }

    // Positions, or -1 when nothing matches.
    int FindByText(const QString &text) const;
    int FindByValue(const QString &value) const;

    // The display text of a raw value; the argument unchanged when not found.
    QString ValueToText(const QString &value) const;
    // The raw value of a display text; the argument unchanged when not found.
    QString TextToValue(const QString &text) const;

private:
    bool equal(const QString &a, const QString &b) const;
    bool isPrefix(const QString &prefix, const QString &text) const;

    Kind m_kind;
    bool m_caseSensitive;
    std::vector<Entry> m_entries;
};
