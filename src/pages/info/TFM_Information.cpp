#include "TFM_Information.h"

#include "ScaledTimeout.h"
#include "VrSNMPObjectTable.h"
#include "VrMessageBox.h"
#include "VrSNMPRequest2Edits.h"
#include "ui_TFM_Information.h"

#include <algorithm>

TFM_Information *FM_Information = nullptr;

namespace {

constexpr int MaxTextLength = 32;
constexpr unsigned SystemTimeout = 3000; // hundredths of a second

const VrSNMPVarDef SystemObjects[] = {
    VarDef("1.3.6.1.2.1.1.1", "systemDescr", VrSyntaxDisplayString, VrFlagRead),
    VarDef("1.3.6.1.2.1.1.2", "systemObjectID", VrSyntaxOid, VrFlagRead),
    VarDef("1.3.6.1.2.1.1.3", "systemUpTime", VrSyntaxTimeTicks, VrFlagRead),
    VarDef("1.3.6.1.2.1.1.4", "systemContact", VrSyntaxDisplayString, VarReadWrite),
    VarDef("1.3.6.1.2.1.1.5", "systemName", VrSyntaxDisplayString, VarReadWrite),
    VarDef("1.3.6.1.2.1.1.6", "systemLocation", VrSyntaxDisplayString, VarReadWrite),
    VarEnd};

} // namespace

TFM_Information::TFM_Information(QWidget *parent)
    : QDialog(parent), ui(new Ui::TFM_Information), m_system(new VrSNMPRequest2Edits(this))
{
    ui->setupUi(this);
    m_system->Request.VarList = VrSNMPVarList(SystemObjects, VrListScalar, 0);
    m_system->Request.Timeout = ScaledTimeout(SystemTimeout);
    m_system->Asynchronous = false;
    const QList<QLineEdit *> edits = {ui->Ed_SD, ui->Ed_SO, ui->Ed_SU, ui->Ed_SC, ui->Ed_SN, ui->Ed_SL};
    for (int i = 0; i < edits.size(); ++i)
        m_system->BindFormat(i, QStringLiteral("%s"), {edits.at(i)});
    m_system->SetStatusTarget(ui->StatusBar1);
    m_system->Request.OnError = [this](VrSNMPError &error) { m_system->ShowStatus(error.Message); };

    connect(ui->Btn_Re, &QPushButton::clicked, this, &TFM_Information::refresh);
    connect(ui->Btn_Sa, &QPushButton::clicked, this, &TFM_Information::save);

    m_system->Load();
    for (QLineEdit *edit : {ui->Ed_SC, ui->Ed_SN, ui->Ed_SL})
        edit->setMaxLength(MaxTextLength);
}

TFM_Information::~TFM_Information()
{
    delete ui;
}

void TFM_Information::refresh()
{
    if (m_system->Load())
        ui->StatusBar1->setSimpleText(QStringLiteral("Get OK!"));
}

bool TFM_Information::checkLength(QLineEdit *edit, const char *object)
{
    if (edit->text().size() <= MaxTextLength)
        return true;
    VrMessageBox(this, QStringLiteral("The Max Lengh of the %1 is 32.").arg(QLatin1String(object)),
                 QStringLiteral("Error"));
    return false;
}

bool TFM_Information::checkAscii(QLineEdit *edit)
{
    const QString text = edit->text();
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; }))
        return true;
    VrMessageBox(this, QStringLiteral("Don't support chinese character !"), QStringLiteral("Error"));
    edit->clear();
    edit->setFocus();
    return false;
}

void TFM_Information::save()
{
    if (!checkLength(ui->Ed_SC, "SystemContact") || !checkLength(ui->Ed_SN, "SystemName")
        || !checkLength(ui->Ed_SL, "SystemLocation"))
        return;
    for (QLineEdit *edit : {ui->Ed_SC, ui->Ed_SN, ui->Ed_SL})
        if (!checkAscii(edit))
            return;
    if (m_system->Apply())
        ui->StatusBar1->setSimpleText(QStringLiteral("Save OK!"));
}
