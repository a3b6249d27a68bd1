#include "TableRows.h"

void TableRows::BeforeLoad()
{
    VrSNMPRequest2Edits::BeforeLoad();
    m_rows.clear();
}

void TableRows::RowReceived()
{
    QStringList row;
    for (int i = 0; i < Request.VarList.Count(); ++i)
        row.append(Request.VarList.Item(i).value);
    m_rows.push_back(row);
}
