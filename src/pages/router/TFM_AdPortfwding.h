#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_AdPortfwding;
}
class RouterList;
class VrSNMPRequest2Edits;

// Advanced > Router Settings > Advance Port Forwarding: the rules that send
// a range of public ports to a host of the LAN. A rule is added in the first
// free row of the device's table, or edited in its own row.
class TFM_AdPortfwding : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_AdPortfwding(QWidget *parent = nullptr);
    ~TFM_AdPortfwding() override;

    void Add();
    void Edit();
    void Delete();
    void Save();
    // True while a walk or a write of the list is under way.
    bool Busy() const;

private:
    void loaded(bool ok);
    void updateButtons();
    void clearRule();
    void publicStartTyped();
    void followPrivateEnd();

    std::unique_ptr<Ui::TFM_AdPortfwding> ui;
    VrSNMPRequest2Edits *m_router = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    RouterList *m_list = nullptr;
};

// The open port forwarding page, or null.
extern TFM_AdPortfwding *FM_AdPortfwding;
