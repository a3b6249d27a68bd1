#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_RouterMACFilter;
}
class RouterList;
class VrSNMPRequest2Edits;

// Advanced > Router Settings > MAC Filter: the LAN hosts the router accepts
// or rejects by MAC address, added and deleted one at a time through the
// device's add and delete objects.
class TFM_RouterMACFilter : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_RouterMACFilter(QWidget *parent = nullptr);
    ~TFM_RouterMACFilter() override;

    void Add();
    void Delete();
    void Save();
    // True while a walk or a write of the list is under way.
    bool Busy() const;

private:
    void loaded(bool ok);
    void applyEnableState();
    bool disabled() const;

    std::unique_ptr<Ui::TFM_RouterMACFilter> ui;
    VrSNMPRequest2Edits *m_status = nullptr;
    VrSNMPRequest2Edits *m_add = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    RouterList *m_list = nullptr;
};

// The open router MAC filter page, or null.
extern TFM_RouterMACFilter *FM_RouterMACFilter;
