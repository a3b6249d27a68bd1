#pragma once

#include "VrSNMPRequest2Edits.h"

#include <QStringList>
#include <vector>

// A binder that keeps the rows of a walked table as texts, one list of item
// values per row, for pages that show the table in a form of their own.
class TableRows : public VrSNMPRequest2Edits
{
    Q_OBJECT

public:
    explicit TableRows(QWidget *ownerForm) : VrSNMPRequest2Edits(ownerForm) {}

    const std::vector<QStringList> &Rows() const { return m_rows; }

protected:
    void BeforeLoad() override;
    void RowReceived() override;

private:
    std::vector<QStringList> m_rows;
};
