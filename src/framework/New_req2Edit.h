#pragma once

#include "VrSNMPRequest2Edits.h"

// A list-view binder for the fixed-size tables of the device, whose unused
// rows hold a placeholder value: such rows are left out, and the rows shown
// are numbered from 1 in the first column.
class New_req2Edit : public VrSNMPRequest2Edits
{
    Q_OBJECT
public:
    explicit New_req2Edit(QWidget *ownerForm);

    int WatchedItem = 1;                        // the item whose value tells a used row
    QString Placeholder = QStringLiteral("0"); // its value in an unused row
    int RowNumber() const { return m_rowNumber; }

protected:
    void BeforeLoad() override;
    void RowReceived() override;

private:
    void addNumberedRow();

    int m_rowNumber = 1;
};
