#include "TLogForm.h"

#include "ui_TLogForm.h"

#include "MaintenanceBinders.h"
#include "MaintenanceRules.h"
#include "ModalPage.h"
#include "TLogSetForm.h"
#include "TransferPrompts.h"
#include "TransferWatch.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"
#include "VrSNMPTarget.h"
#include "VrTFTPServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTextStream>

Q_LOGGING_CATEGORY(lcLog, "qrt.pages.log")

TLogForm *LogForm = nullptr;

namespace {

const VrOptionNumDef kGetDef[] = {{0, "nothing"}, {1, "get"}, {0, nullptr}};
const VrOptionNumDef kClearDef[] = {{0, "nothing"}, {1, "clear"}, {0, nullptr}};
VrOptionList gGet(kGetDef);
VrOptionList gClear(kClearDef);

// The get command rides in the request list without a control; it is left
// out so that announcing the server never starts an upload by itself.
const VrSNMPVarDef kRequestVars[] = {
    VarDef(QRT_P "5.4.4", "systemLogTFTPServerIPAddress", VrSyntaxIpAddress, 0x06),
    VarDef(QRT_P "5.4.5", "systemLogFileName", VrSyntaxDisplayString, 0x06),
    VarDef(QRT_P "5.4.6", "systemLogGetLog", VrSyntaxInteger, 0x26, &gGet),
    VarEnd};
const VrSNMPVarDef kGetVars[] = {VarDef(QRT_P "5.4.6", "systemLogGetLog", VrSyntaxInteger, 0x06, &gGet), VarEnd};
const VrSNMPVarDef kClearVars[] = {
    VarDef(QRT_P "5.4.10", "systemLogClearLocalLog", VrSyntaxInteger, 0x06, &gClear), VarEnd};

const QString kLogFileName = QStringLiteral("LogFile.RD");

} // namespace

QString TLogForm::LogFolder()
{
    // Per user and per device; never the program's own folder.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString folder = base + QStringLiteral("/log/") + DeviceFolderName(g_SNMPDevice.address);
    QDir().mkpath(folder);
    return folder;
}

TLogForm::TLogForm(QWidget *parent) : QDialog(parent), ui(new Ui::TLogForm)
{
    ui->setupUi(this);
    ui->StatusBar1->panel(0)->setMinimumWidth(50);
    ui->ViewListView->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Type"), QStringLiteral("Message")});

    m_request = NewBinder(this, kRequestVars, QStringLiteral("log server"), 1000, true);
    m_request->BindFormat(0, QStringLiteral("%s"), {ui->ServerEdit});
    m_request->BindFormat(1, QStringLiteral("%s"), {ui->FileNameEdit});
    m_request->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        // Later, from the event loop: the flow may wait modally and send again
        // on the same request, which must not happen inside its own answer.
        QMetaObject::invokeMethod(this, [this, r] { requestAccepted(r); }, Qt::QueuedConnection);
    };

    m_get = NewBinder(this, kGetVars, QStringLiteral("log upload"), 1000, true);
    m_get->BindComboBox(0, ui->GetCoBox);
    m_get->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        // Later, from the event loop: the flow may wait modally and send again
        // on the same request, which must not happen inside its own answer.
        QMetaObject::invokeMethod(this, [this, r] { logSent(r); }, Qt::QueuedConnection);
    };

    m_clear = NewBinder(this, kClearVars, QStringLiteral("log clear"), 1000, true);
    m_clear->BindComboBox(0, ui->Bt_Clear);
    m_clear->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        if (r.Code != 0)
            status(r.Message);
    };

    connect(ui->GetBtn, &QPushButton::clicked, this, &TLogForm::GetLog);
    connect(ui->Clear_Btn, &QPushButton::clicked, this, &TLogForm::Clear);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TLogForm::close);
    connect(ui->SetBtn, &QPushButton::clicked, this, [this] { RunModalPage(LogSetForm, this); });
    ui->SetBtn->setEnabled(false);

    const QString folder = LogFolder();
    m_logFile = folder + u'/' + kLogFileName;
    m_transfer = new TransferWatch(5000, 3, this);
    connect(m_transfer, &TransferWatch::progress, this, [this](qint64 bytes, qint64) {
        status(tr("Refresh...! %1 bytes").arg(bytes));
    });
    connect(m_transfer, &TransferWatch::finished, this, &TLogForm::transferEnded);
    try {
        m_transfer->Start(folder);
    } catch (const VrTFTPException &e) {
        ReportTftpInitError(this, e.text(), m_transfer->Server().Port());
        return;
    }
    status(QStringLiteral("Get Ok"));
    GetLog();
}

TLogForm::~TLogForm()
{
    // Stopping the server waits for a transfer still running in an event
    // loop; closed while the log came in, the page must not hear from its
    // exchanges or the transfer any more, nor run what they queued for it.
    for (VrSNMPRequest2Edits *binder : {m_request, m_get, m_clear})
        binder->OnApplyDone = nullptr;
    disconnect(m_transfer, nullptr, this, nullptr);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    m_transfer->Forget();
    delete m_transfer;
}

void TLogForm::status(const QString &text)
{
    ui->StatusBar1->panel(0)->setText(text);
}

void TLogForm::GetLog()
{
    status(QStringLiteral("Refresh...!"));
    ui->FileNameEdit->setText(kLogFileName);
    ui->ServerEdit->clear();
    QString local;
    if (!AnnounceAddress(this, &local))
        return;
    ui->ServerEdit->setText(local);
    m_waitingForFile = false;
    m_transfer->Expect(kLogFileName, TransferWatch::DeviceWrites);
    if (!SendBinder(m_request, ui->StatusBar1->panel(0)))
        m_transfer->Forget();
}

void TLogForm::requestAccepted(const VrSNMPError &result)
{
    if (result.Code != 0) {
        m_transfer->Forget();
        status(result.Message);
        return;
    }
    ui->GetCoBox->setCurrentIndex(1);
    if (!SendBinder(m_get, ui->StatusBar1->panel(0)))
        m_transfer->Forget();
}

void TLogForm::logSent(const VrSNMPError &result)
{
    if (result.Code != 0) {
        m_transfer->Forget();
        status(result.Message);
        return;
    }
    // The device has taken the command; the table follows the file, once here.
    if (m_transfer->Pending()) {
        m_waitingForFile = true;
        return;
    }
    m_waitingForFile = true;
    transferEnded(m_transfer->Succeeded());
}

void TLogForm::transferEnded(bool ok)
{
    if (!m_waitingForFile)
        return;
    m_waitingForFile = false;
    const QString why = m_transfer->ErrorText();
    m_transfer->Forget();
    if (!ok) {
        qCWarning(lcLog) << "log not received:" << why;
        ui->SetBtn->setEnabled(true);
        status(QStringLiteral("Get fail."));
        return;
    }
    status(parseLogFile() ? QStringLiteral("Get OK.") : QStringLiteral("Get fail."));
}

bool TLogForm::parseLogFile()
{
    bool loaded = false;
    QFile file(m_logFile);
    if (file.open(QIODevice::ReadOnly)) {
        QTextStream in(&file);
        QStringList lines;
        while (!in.atEnd())
            lines << in.readLine();
        loaded = in.status() == QTextStream::Ok;
        if (loaded) {
            ui->LBLog->clear();
            ui->LBLog->addItems(lines);
        }
    }
    ui->ViewListView->clear();
    for (int i = 0; i < ui->LBLog->count(); ++i) {
        const QString line = ui->LBLog->item(i)->text();
        if (line.isEmpty())
            continue;
        const LogLine parsed = ParseLogLine(line);
        new QTreeWidgetItem(ui->ViewListView, {parsed.time, parsed.type, parsed.message});
    }
    for (int c = 0; c < 2; ++c)
        ui->ViewListView->resizeColumnToContents(c);
    ui->SetBtn->setEnabled(true);
    return loaded;
}

void TLogForm::Clear()
{
    ui->Bt_Clear->setCurrentIndex(1);
    if (SendBinder(m_clear, ui->StatusBar1->panel(0)))
        ui->ViewListView->clear();
}
