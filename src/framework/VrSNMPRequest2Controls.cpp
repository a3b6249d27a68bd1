#include "VrSNMPRequest2Controls.h"

#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrStatusBar.h"
#include "VrWaitGuard.h"

#include <QLabel>
#include <QLocale>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>
#include <QTime>
#include <limits>

Q_LOGGING_CATEGORY(lcBinding, "qrt.framework.binding", QtInfoMsg)

namespace {

// Clears the busy flag however the exchange ends.
class BusyScope
{
public:
    explicit BusyScope(bool &busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_busy;
};

} // namespace

VrSNMPRequest2Controls::VrSNMPRequest2Controls(QWidget *ownerForm) : QObject(ownerForm), m_owner(ownerForm)
{
    Request.Owner = ownerForm;
}

VrSNMPRequest2Controls::~VrSNMPRequest2Controls()
{
    // The request's destructor may still deliver answers; the derived binder
    // is gone by now, so the completions must not reach it.
    m_destroying = true;
    m_busy = false;
}

bool VrSNMPRequest2Controls::Load()
{
    m_lastWrite = false;
    BeforeLoad();
    m_rowCount = 0;
    bool ok = true;
    if (Asynchronous) {
        if (!Request.Alive)
            return ok;
        m_busy = true;
        try {
            Request.GetAsync(&VrSNMPRequest2Controls::loadDone, this, true);
        } catch (...) {
            m_busy = false;
            throw;
        }
        return ok;
    }

    try {
        BusyScope busy(m_busy);
        if (Request.VarList.IsTable()) {
            // The call that ends the walk delivers no row.
            for (int more = Request.Get(ok, true); more == 1; more = Request.Get(ok, false))
                takeRow();
        } else {
            Request.Get(ok, true);
            // Also after an error: the controls then show the items' previous texts.
            takeRow();
        }
        AfterLoad();
    } catch (...) {
        noteRead(false);
        throw;
    }
    noteRead(ok);
    if (ok)
        reportSuccess();
    else
        qCDebug(lcBinding) << "load failed" << Request.VarList.description;
    return ok;
}

bool VrSNMPRequest2Controls::Apply(bool readBack, bool gather, const QString &selection,
                                   const QStringList *values)
{
    m_lastWrite = true;
    if (m_read == ReadState::Failed) {
        refuseUnread();
        return false;
    }
    ReadBack = readBack;
    BeforeApply();
    if (gather)
        GatherValues(); // a conversion error ends here, before anything is sent
    bool ok = true;
    if (Asynchronous) {
        if (!Request.Alive)
            return ok;
        m_busy = true;
        try {
            Request.SetAsync(&VrSNMPRequest2Controls::applyDone, this, false, selection, values);
        } catch (...) {
            m_busy = false;
            throw;
        }
        return ok;
    }

    {
        BusyScope busy(m_busy);
        Request.Set(ok, false, selection, values);
        AfterApply();
    }
    if (ok) {
        VrWaitGuard::NoteWritten(m_owner, Request.VarList.description);
        reportSuccess();
    } else if (Request.LastError == VrErrCancelled) {
        reportCancelledSave();
        return ok;
    } else {
        qCDebug(lcBinding) << "apply failed" << Request.VarList.description;
    }
    // A table shows what the agent made of the write, also after an error.
    if (Request.VarList.IsTable() && ReadBack)
        Load();
    return ok;
}

// A Save left halfway: what of it reached the device, and what did not.
void VrSNMPRequest2Controls::reportCancelledSave()
{
    const QStringList written = VrWaitGuard::Written(m_owner);
    const QString group = Request.VarList.description.isEmpty() ? tr("the rest") : Request.VarList.description;
    const QString text = tr("Cancelled (written: %1; not written: %2 and what follows)")
                             .arg(written.isEmpty() ? tr("nothing") : written.join(QStringLiteral(", ")), group);
    qCInfo(lcBinding) << text;
    if (m_statusTarget)
        ShowStatus(text);
}

void VrSNMPRequest2Controls::takeRow()
{
    if (Request.EvaluateCondition(Request.Condition)) {
        RowReceived();
        ++m_rowCount;
    }
}

void VrSNMPRequest2Controls::reportSuccess()
{
    if (!Request.OnError)
        return;
    VrSNMPError success;
    success.Code = VrOk;
    success.Message = VrSNMPMessage(VrOk);
    success.Sequence = std::numeric_limits<uint64_t>::max();
    Request.OnError(success);
}

void VrSNMPRequest2Controls::noteRead(bool ok)
{
    if (ok)
        m_read = ReadState::Read;
    else if (m_read != ReadState::Read)
        m_read = ReadState::Failed;
}

void VrSNMPRequest2Controls::refuseUnread()
{
    const QString group = Request.VarList.description;
    qCWarning(lcBinding) << "write refused: never read" << group;
    const QString what = group.isEmpty() ? QStringLiteral("These settings")
                                         : QStringLiteral("The settings of \"%1\"").arg(group);
    VrMessageBox(m_owner,
                 what + QStringLiteral(" could not be read from the device, so they were not saved. Read them "
                                       "again (Refresh, or close and open the page), then save."),
                 QStringLiteral("Warning"), QMessageBox::Ok);
}

void VrSNMPRequest2Controls::loadDone(void *data, VrSNMPError &error, VrSNMPVarList &)
{
    auto *self = static_cast<VrSNMPRequest2Controls *>(data);
    if (self->m_destroying)
        return;
    // Nothing may escape into the SNMP library's callback.
    try {
        if (error.Code != VrOk) {
            self->m_busy = false;
            self->m_lastWrite = false;
            self->noteRead(false);
            if (self->OnLoadDone)
                self->OnLoadDone(self, error);
            return;
        }
        const bool table = self->Request.VarList.IsTable();
        if (!table || !error.Finished)
            self->takeRow();
        if (table && !error.Finished && self->Request.Alive) {
            self->Request.GetAsync(&VrSNMPRequest2Controls::loadDone, self, false);
            return;
        }
        self->finishLoad(error);
    } catch (...) {
        self->m_busy = false;
        self->noteRead(false);
        self->ReportCurrentException();
    }
}

void VrSNMPRequest2Controls::finishLoad(const VrSNMPError &result)
{
    AfterLoad();
    m_busy = false;
    noteRead(true);
    reportSuccess();
    if (OnLoadDone)
        OnLoadDone(this, result);
}

void VrSNMPRequest2Controls::applyDone(void *data, VrSNMPError &error, VrSNMPVarList &)
{
    auto *self = static_cast<VrSNMPRequest2Controls *>(data);
    if (self->m_destroying)
        return;
    try {
        if (error.Code != VrOk) {
            self->m_busy = false;
            if (self->OnApplyDone)
                self->OnApplyDone(self, error);
            return;
        }
        self->AfterApply();
        self->m_busy = false;
        self->reportSuccess();
        if (self->OnApplyDone)
            self->OnApplyDone(self, error);
        if (self->Request.VarList.IsTable() && self->ReadBack)
            self->Load();
    } catch (...) {
        self->m_busy = false;
        self->ReportCurrentException();
    }
}

void VrSNMPRequest2Controls::ReportLoadError(const VrSNMPError &error)
{
    m_lastWrite = false;
    Report(error.Message);
}

void VrSNMPRequest2Controls::ReportApplyError(const VrSNMPError &error)
{
    m_lastWrite = true;
    Report(error.Message);
}

void VrSNMPRequest2Controls::Report(const QString &message)
{
    if (m_statusTarget)
        ShowStatus(message);
    else
        VrMessageBox(m_owner, message, VrExecutableName(), QMessageBox::Ok);
}

void VrSNMPRequest2Controls::ReportCurrentException()
{
    QString message;
    try {
        throw;
    } catch (const VrSNMPException &e) {
        message = e.Message();
    } catch (const VrCommonException &e) {
        message = e.Message();
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = VrSNMPMessage(VrErrUnknown);
    }
    qCWarning(lcBinding) << "ended by" << message;
    Report(message);
}

void VrSNMPRequest2Controls::ShowStatus(const QString &message)
{
    if (!m_statusTarget)
        return;
    // 12-hour clock with the locale's own AM/PM text.
    const QString time = QLocale().toString(QTime::currentTime(), QStringLiteral("hh:mm:ss Ap"));
    const QString line = VrSNMPStatusLine(m_lastWrite, message, Request.VarList.description, time);
    if (auto *bar = qobject_cast<VrStatusBar *>(m_statusTarget))
        bar->setSimpleText(line);
    else if (auto *plainBar = qobject_cast<QStatusBar *>(m_statusTarget))
        plainBar->showMessage(line);
    else if (auto *panel = qobject_cast<QLabel *>(m_statusTarget))
        panel->setText(line);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(m_statusTarget))
        memo->appendPlainText(line);
    else if (auto *richMemo = qobject_cast<QTextEdit *>(m_statusTarget))
        richMemo->append(line);
}
