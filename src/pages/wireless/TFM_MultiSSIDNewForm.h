#pragma once

#include "MultiSsidRules.h"

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TFM_MultiSSIDNewForm;
}
class QTreeWidgetItem;
class VrSNMPRequest2Edits;
struct VrSNMPVarDef;

// Advanced > Multi-SSID: switches multi-SSID on or off and edits the four
// SSID rows of the device (primary and SSID 1..3), one row at a time.
class TFM_MultiSSIDNewForm : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_MultiSSIDNewForm(QWidget *parent = nullptr);
    ~TFM_MultiSSIDNewForm() override;

    void Add();
    void Delete();
    void Save();

private:
    VrSNMPRequest2Edits *makeBinder(const VrSNMPVarDef *table, int kind, unsigned timeout,
                                    const QString &description);
    bool load(VrSNMPRequest2Edits *binder);
    bool apply(VrSNMPRequest2Edits *binder, bool readBack = false);
    void walk();
    void walkDone(bool ok);

    void multiSsidChanged();
    void priorityChanged();
    void indexChanged();
    void securityChanged();
    void encryptionChanged();
    void keyFormatChanged();
    void listClicked(QTreeWidgetItem *line);
    void rebuildList();
    void enableRowControls();

    bool checkRow(int index);
    bool refuse(const SaveProblem &problem);
    bool writeAccessPointFirst();
    void setRowIncluded(int item, bool included);
    void includeWholeRow();

    QList<MssidRow> rows() const;
    QTreeWidgetItem *tableRow(int index) const;
    ApMode mode() const;
    int selectedIndex() const; // 1..4
    bool multiSsid() const;

    std::unique_ptr<Ui::TFM_MultiSSIDNewForm> ui;

    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_band = nullptr;
    VrSNMPRequest2Edits *m_state = nullptr;
    VrSNMPRequest2Edits *m_priorityState = nullptr;
    VrSNMPRequest2Edits *m_vlan = nullptr;
    VrSNMPRequest2Edits *m_table = nullptr;

    QString m_passphraseRead; // secrets equal to these are not written again
    QString m_secretRead;
    bool m_priorityReadable = false;
    bool m_warningArmed = false;
    bool m_listClick = false;
    int m_lastError = 0;
    bool m_opening = false;    // reading the device as the page opens
    bool m_silent = false;     // the device did not answer while the page opened
    bool m_readFailed = false; // a read failed since the list was last walked
};

// The open multi-SSID page, or null.
extern TFM_MultiSSIDNewForm *FM_MultiSSIDNewForm;
