#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TLogSetForm;
}
class VrSNMPRequest2Edits;

// Status > Log > Log Settings: which events the device logs and the remote
// log server.
class TLogSetForm : public QDialog
{
    Q_OBJECT

public:
    explicit TLogSetForm(QWidget *parent = nullptr);
    ~TLogSetForm() override;

    void Save();

private:
    void emailToggled();

    std::unique_ptr<Ui::TLogSetForm> ui;
    VrSNMPRequest2Edits *m_settings = nullptr;
};

// The open log settings page, or null.
extern TLogSetForm *LogSetForm;
