#pragma once

#include <QDialog>
#include <QList>
#include <memory>

namespace Ui {
class TFM_QosSetting;
}
class QComboBox;
class QTreeWidgetItem;
class VrSNMPRequest2Edits;
struct ServiceProblem;
struct VrSNMPError;

// Advanced > QoS: QoS on or off, the HTTP and automatic classifiers, and the
// device's table of 64 QoS rules, each enabled or not in the list.
class TFM_QosSetting : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_QosSetting(QWidget *parent = nullptr);
    ~TFM_QosSetting() override;

    void Add();
    void Delete();
    void Clear();
    void Save();
    // True while the rule table is being read or written.
    bool Busy() const;
    int RuleCount() const { return m_ruleCount; }

private:
    void bind();
    void loadRules();
    void rulesLoaded(const VrSNMPError &result);
    void ruleWritten(const VrSNMPError &result);
    void enableChanged();
    void protocolChanged();
    void userSelectionChanged();
    void selectFreeRow();
    void emptyZeroFields();
    void setButtonMode(int mode);
    bool qosEnabled() const;
    bool writeRuleStates();
    bool addRule(bool withState);
    void refuse(const ServiceProblem &problem);
    void result(const QString &text);
    QString exchangeText() const;

    std::unique_ptr<Ui::TFM_QosSetting> ui;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_status = nullptr;
    VrSNMPRequest2Edits *m_classifiers = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    VrSNMPRequest2Edits *m_rules = nullptr;
    VrSNMPRequest2Edits *m_states = nullptr; // built at each save
    QList<QComboBox *> m_stateCombos;

    int m_ruleCount = 0;
    int m_buttonMode = 0;
    bool m_writing = false;
};

// The open QoS page, or null.
extern TFM_QosSetting *FM_QosSetting;
