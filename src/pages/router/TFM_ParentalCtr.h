#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_ParentalCtr;
}
class RouterList;
class VrSNMPRequest2Edits;

// Advanced > Router Settings > Parental Control: the websites the router
// allows or denies, added and deleted one at a time through the device.
class TFM_ParentalCtr : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_ParentalCtr(QWidget *parent = nullptr);
    ~TFM_ParentalCtr() override;

    void Add();
    void Delete();
    void Save();
    // True while a walk or a write of the list is under way.
    bool Busy() const;

private:
    void loaded(bool ok);
    void applyEnableState();
    bool disabled() const;
    bool writeStatus();

    std::unique_ptr<Ui::TFM_ParentalCtr> ui;
    VrSNMPRequest2Edits *m_status = nullptr;
    VrSNMPRequest2Edits *m_add = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    RouterList *m_list = nullptr;
};

// The open parental control page, or null.
extern TFM_ParentalCtr *FM_ParentalCtr;
