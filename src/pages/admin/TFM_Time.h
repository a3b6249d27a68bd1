#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <memory>

namespace Ui {
class TFM_Time;
}
class QComboBox;
class VrSNMPRequest2Edits;
struct VrSNMPVarDef;

// Tools > Time and Date: the device's clock, its time zone and daylight
// saving rules, and where its time comes from: an NTP server, or a date and
// time chosen by hand or copied from this computer.
Q_DECLARE_LOGGING_CATEGORY(lcTime)

class TFM_Time : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Time(QWidget *parent = nullptr);
    ~TFM_Time() override;

    void Save();
    void CopyComputerTime();

private:
    VrSNMPRequest2Edits *makeBinder(const VrSNMPVarDef *table, const QString &description);
    bool load(VrSNMPRequest2Edits *binder);
    bool apply(VrSNMPRequest2Edits *binder);
    void bindAll();
    void readAll();
    void fillFromComputerClock();
    void composeDateTime();
    void emptyUnsetServer();
    void setIncluded(int item, bool included);

    void ntpClicked();
    void daylightClicked();
    void zoneChanged();
    void convertClicked();

    QList<QComboBox *> manualCombos() const;
    QList<QComboBox *> dstCombos() const;

    std::unique_ptr<Ui::TFM_Time> ui;
    VrSNMPRequest2Edits *m_time = nullptr;
    VrSNMPRequest2Edits *m_manual = nullptr;
    int m_lastError = 0;
};

// The open time and date page, or null.
extern TFM_Time *FM_Time;
