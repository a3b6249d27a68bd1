#include "VrOptionList.h"

VrOptionList::VrOptionList(const VrOptionNumDef *table, bool caseSensitive)
    : m_kind(Numeric), m_caseSensitive(caseSensitive)
{
    Append(table);
}

VrOptionList::VrOptionList(const VrOptionTextDef *table, Kind kind, bool caseSensitive)
    : m_kind(kind), m_caseSensitive(caseSensitive)
{
    Append(table);
}

void VrOptionList::Append(const VrOptionNumDef *table)
{
    for (; table && table->text; ++table)
        m_entries.push_back({table->value, QString::number(table->value), QString::fromUtf8(table->text)});
}

void VrOptionList::Append(const VrOptionTextDef *table)
{
    for (; table && table->text; ++table)
        m_entries.push_back({0, QString::fromUtf8(table->value ? table->value : ""),
                             QString::fromUtf8(table->text)});
}

bool VrOptionList::equal(const QString &a, const QString &b) const
{
    return a.compare(b, m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

bool VrOptionList::isPrefix(const QString &prefix, const QString &text) const
{
    return text.startsWith(prefix, m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

int VrOptionList::FindByText(const QString &text) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const QString &display = m_entries[i].text;
        if (m_kind == Prefix ? isPrefix(display, text) : equal(display, text))
            return int(i);
    }
    return -1;
}

int VrOptionList::FindByValue(const QString &value) const
{
    if (m_kind == Numeric) {
        bool ok = false;
        const qlonglong number = value.trimmed().toLongLong(&ok);
        if (!ok || number < INT32_MIN || number > INT32_MAX)
            return -1; // also "(NULL)"
        for (size_t i = 0; i < m_entries.size(); ++i)
            if (m_entries[i].number == number)
                return int(i);
        return -1;
    }
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const QString &raw = m_entries[i].value;
        if (m_kind == Prefix ? isPrefix(raw, value) : equal(raw, value))
            return int(i);
    }
    return -1;
}

QString VrOptionList::ValueToText(const QString &value) const
{
    const int i = FindByValue(value);
    if (i < 0)
        return value;
    const Entry &e = m_entries[size_t(i)];
    return m_kind == Prefix ? e.text + value.mid(e.value.size()) : e.text;
}

QString VrOptionList::TextToValue(const QString &text) const
{
    const int i = FindByText(text);
    if (i < 0)
        return text;
    const Entry &e = m_entries[size_t(i)];
    return m_kind == Prefix ? e.value + text.mid(e.text.size()) : e.value;
}
