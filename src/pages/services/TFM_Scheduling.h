#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <QPointer>
#include <memory>

namespace Ui {
class TFM_Scheduling;
}
class QCheckBox;
class QTreeWidgetItem;
class VrSNMPRequest2Edits;
struct ServiceProblem;
struct VrSNMPError;

Q_DECLARE_LOGGING_CATEGORY(lcServices)

// Advanced > Schedule: wireless scheduling on or off, and the device's four
// schedule rules, one of which is the active one.
class TFM_Scheduling : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Scheduling(QWidget *parent = nullptr);
    ~TFM_Scheduling() override;

    void Add();
    void Save();
    void Delete();
    void Clear();
    // True while the rule table is being read or written.
    bool Busy() const;
    int RuleCount() const { return m_ruleCount; }

private:
    enum class Write { None, Adding, Activating };

    void bind();
    void loadRules();
    void rulesLoaded(const VrSNMPError &result);
    void ruleWritten(const VrSNMPError &result);
    void enableChanged();
    void dayKindChanged();
    void allDayChanged();
    void userSelectionChanged();
    void showRule(QTreeWidgetItem *rule);
    void selectFreeRow();
    bool selectHiddenRow(int row);
    void setButtonMode(int mode);
    void markActive(QTreeWidgetItem *rule);
    bool disableNodeStates();
    void refuse(const ServiceProblem &problem);
    void result(const QString &text);
    QList<QCheckBox *> dayBoxes() const;
    bool schedulingEnabled() const;

    std::unique_ptr<Ui::TFM_Scheduling> ui;
    VrSNMPRequest2Edits *m_status = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    VrSNMPRequest2Edits *m_rules = nullptr;
    VrSNMPRequest2Edits *m_nodes = nullptr;

    int m_ruleCount = 0;
    int m_buttonMode = 0;
    QString m_selectedName; // the rule Delete removes; empty when none is selected
    Write m_write = Write::None;
};

// The open schedule page, or null.
extern TFM_Scheduling *FM_Scheduling;
