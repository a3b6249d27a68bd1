#include "VrMessageTable.h"

#include "VrTextUtil.h"

VrMessageTable::VrMessageTable(std::initializer_list<const char *> builtIn)
{
    for (const char *text : builtIn)
        m_builtIn.append(QString::fromUtf8(text));
}

QString VrMessageTable::text(int entry) const
{
    if (entry >= 0 && entry < m_loaded.size())
        return m_loaded.at(entry);
    if (entry >= 0 && entry < m_builtIn.size())
        return m_builtIn.at(entry);
    return QString();
}

bool VrMessageTable::load(const QString &fileName)
{
    std::optional<QStringList> lines = ReadLines(fileName);
    if (!lines || lines->isEmpty())
        return false;
    m_loaded = *lines;
    return true;
}
