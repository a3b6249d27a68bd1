#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <memory>

namespace Ui {
class TFM_Sytem;
}
class QComboBox;
class VrSNMPRequest2Edits;
class TFM_Waiting;

Q_DECLARE_LOGGING_CATEGORY(lcSystem)

// Tools > System: restart, factory reset, save-and-activate and discard,
// each one set followed by a wait while the device works.
class TFM_Sytem : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Sytem(QWidget *parent = nullptr);
    ~TFM_Sytem() override;

    void Restart();
    void Restore();
    void SetApply();
    void Discard();

private:
    enum DeviceItem { RestartItem, FactoryItem };
    bool confirm(const QString &text);
    // Marks one object of the device binding for writing and the other not.
    void writeOnly(DeviceItem item);
    bool send(VrSNMPRequest2Edits *binder);
    void wait(int seconds, const QString &caption, const QString &label2, const QString &label3);

    std::unique_ptr<Ui::TFM_Sytem> ui;
    VrSNMPRequest2Edits *m_device = nullptr;
    VrSNMPRequest2Edits *m_apply = nullptr;
};

// The open system page, or null.
extern TFM_Sytem *FM_Sytem;
