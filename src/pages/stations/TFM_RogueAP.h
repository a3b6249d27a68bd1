#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_RogueAP;
}
class TableRows;
class VrSNMPRequest2Edits;
struct VrSNMPError;

// Advanced > Intrusion: the access points in range as the device's survey
// finds them, and their classification (valid, neighborhood, rogue, new),
// which the device keeps. Lines are ticked and given a class; new access
// points can be marked valid or rogue all at once.
class TFM_RogueAP : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_RogueAP(QWidget *parent = nullptr);
    ~TFM_RogueAP() override;

    void Detect();
    void Save();
    bool Detecting() const { return m_detecting; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum Class { Valid, Neighborhood, Rogue, New };

    void triggered(const VrSNMPError &result);
    void walked(const VrSNMPError &result);
    void setControls(bool enabled);
    void showSurvey();
    void filterChanged();
    void markAllValid();
    void markAllRogue();
    void tickNewLines(bool ticked);
    void selectAll();
    void setAs(Class target);
    // Writes the survey index of every ticked line to the class command;
    // false (with the status told) when nothing is ticked or a write failed.
    bool classify(Class target);

    std::unique_ptr<Ui::TFM_RogueAP> ui;
    VrSNMPRequest2Edits *m_trigger = nullptr;
    TableRows *m_survey = nullptr;
    VrSNMPRequest2Edits *m_classes[4] = {};
    VrSNMPRequest2Edits *m_markAll = nullptr;
    bool m_detecting = false;
};

// The open rogue-AP page, or null.
extern TFM_RogueAP *FM_RogueAP;
