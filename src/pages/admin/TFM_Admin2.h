#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <QString>
#include <memory>

namespace Ui {
class TFM_Admin2;
}
class New_req2Edit;
class QTreeWidgetItem;
class VrSNMPRequest2Edits;
struct AdminRefusal;
struct VrSNMPVarDef;

// Tools > Administrator Settings: login name and password, console protocol
// and idle time-out, ping control, system name and location, and the limits
// on who may manage the device (a VLAN, up to four address ranges). Reads the
// device when it is created; Save writes the settings, the ranges are added
// and deleted one at a time.
Q_DECLARE_LOGGING_CATEGORY(lcAdmin)

class TFM_Admin2 : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Admin2(QWidget *parent = nullptr);
    ~TFM_Admin2() override;

    void Save();
    void AddRange();
    void DeleteRange();

private:
    VrSNMPRequest2Edits *makeBinder(VrSNMPRequest2Edits *binder, const VrSNMPVarDef *table, int kind,
                                    const QString &description);
    bool load(VrSNMPRequest2Edits *binder);
    bool apply(VrSNMPRequest2Edits *binder);
    void bindAll();
    void readAll();
    void readRanges();
    bool rangesBusy() const;

    void afterManagerRead();
    void afterTrapRead();
    void afterConsoleRead();
    void managerStateClicked();
    void vidClicked();
    void consoleClicked(int index);
    void shownRangeSelected();

    void refuse(const AdminRefusal &refusal, bool saving);
    void resetRangeFields();
    void setIncluded(VrSNMPRequest2Edits *binder, int item, bool included);
    void selectValue(VrSNMPRequest2Edits *binder, int item, int value);
    int numberOf(VrSNMPRequest2Edits *binder, int item) const;
    void showStatus(const QString &text);

    std::unique_ptr<Ui::TFM_Admin2> ui;

    VrSNMPRequest2Edits *m_login = nullptr;
    VrSNMPRequest2Edits *m_console = nullptr;
    VrSNMPRequest2Edits *m_idle = nullptr;
    VrSNMPRequest2Edits *m_system = nullptr;
    VrSNMPRequest2Edits *m_trap = nullptr;
    VrSNMPRequest2Edits *m_ping = nullptr;
    VrSNMPRequest2Edits *m_manager = nullptr;
    VrSNMPRequest2Edits *m_ranges = nullptr;  // every row, for the writes
    New_req2Edit *m_shownRanges = nullptr;    // the used rows, numbered
    VrSNMPRequest2Edits *m_delete = nullptr;

    QString m_passwordRead; // the device's current password (read, or last written); never logged
    int m_lastError = 0;
};

// The open administrator settings page, or null.
extern TFM_Admin2 *FM_Admin2;
