#pragma once

#include <QDialog>

namespace Ui {
class TFM_Information;
}
class QLineEdit;
class VrSNMPRequest2Edits;

// Home, Information: the MIB-II system group, with contact, name and
// location writable.
class TFM_Information : public QDialog
{
    Q_OBJECT
public:
    explicit TFM_Information(QWidget *parent = nullptr);
    ~TFM_Information() override;

private:
    void refresh();
    void save();
    bool checkLength(QLineEdit *edit, const char *object);
    bool checkAscii(QLineEdit *edit);

    Ui::TFM_Information *ui;
    VrSNMPRequest2Edits *m_system;
};

extern TFM_Information *FM_Information;
