#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_WLANPart;
}
class VrSNMPRequest2Edits;
struct VrSNMPVarDef;

// Advanced > Filters > WLAN Partition: whether stations may reach each other,
// whether the wired side may reach the stations, and link integrity.
class TFM_WLANPart : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_WLANPart(QWidget *parent = nullptr);
    ~TFM_WLANPart() override;

    void Refresh();
    void Save();

private:
    VrSNMPRequest2Edits *makeBinder(const VrSNMPVarDef *table, unsigned timeout, const QString &description);
    bool load(VrSNMPRequest2Edits *binder);
    bool apply(VrSNMPRequest2Edits *binder);
    void applyApModeRule();
    void wlanAccessChanged();
    void fitStatus(const QString &line);

    std::unique_ptr<Ui::TFM_WLANPart> ui;
    VrSNMPRequest2Edits *m_band = nullptr;
    VrSNMPRequest2Edits *m_multiSsid = nullptr;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_partition = nullptr;
    VrSNMPRequest2Edits *m_link = nullptr;
    int m_lastError = 0;
};

// The open WLAN partition page, or null.
extern TFM_WLANPart *FM_WLANPart;
