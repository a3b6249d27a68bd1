#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>

// One family of message texts: built-in English texts, replaceable as a whole
// by a message file (one entry per non-blank line). A file with fewer lines
// than the family has entries leaves the later entries with their built-in
// texts, so no code is ever shown without a text.
class VrMessageTable
{
public:
    VrMessageTable(std::initializer_list<const char *> builtIn);

    // Text of an entry; empty for an entry outside the table.
    QString text(int entry) const;
    int size() const { return int(m_builtIn.size()); }

    // Replaces the table by the file's non-blank lines. A file that cannot be
    // read or has no such line changes nothing; returns whether it replaced.
    bool load(const QString &fileName);
    // Back to the built-in texts.
    void reset() { m_loaded.clear(); }

private:
    QStringList m_builtIn;
    QStringList m_loaded;
};
