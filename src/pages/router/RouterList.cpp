#include "RouterList.h"

#include "RouterRules.h"
#include "RouterTables.h"
#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrListViewBinding.h"
#include "VrMessageBox.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"
#include "VrStatusBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTreeWidget>

VrSNMPRequest2Edits *MakeRouterBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                                      const QString &description, QWidget *statusTarget)
{
    return VrMakePageBinder(page, table, kind, ScaledTimeout(timeout), description, statusTarget);
}

VrSNMPRequest2Edits *MakeAsyncRouterBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                                           const QString &description)
{
    auto *binder = new VrSNMPRequest2Edits(page);
    VrSetUpBinder(binder, table, kind, ScaledTimeout(timeout), description);
    binder->Asynchronous = true;
    return binder;
}

namespace {

// Starting an asynchronous exchange may raise (a value the request cannot
// take); the text goes to the label and no completion follows.
template <class Call>
bool reported(QLabel *status, Call call)
{
    QString why;
    try {
        return call();
    } catch (const VrSNMPException &e) {
        why = e.Message();
    } catch (const VrCommonException &e) {
        why = e.Message();
    }
    qCWarning(lcRouter) << "exchange not started:" << why;
    status->setText(why);
    return false;
}

} // namespace

void ShowRefusal(QWidget *page, const Router::Refusal &refusal)
{
    VrMessageBox(page, refusal.text, refusal.title);
    QWidget *field = refusal.field.isEmpty() ? nullptr : page->findChild<QWidget *>(refusal.field);
    if (!field)
        return;
    if (auto *edit = qobject_cast<QLineEdit *>(field); edit && refusal.clear)
        edit->clear();
    field->setFocus();
}

RouterList::RouterList(QWidget *page, const VrSNMPVarDef *table, unsigned timeout, const QString &description,
                       QTreeWidget *hidden, QTreeWidget *visible, VrStatusBar *status)
    : QObject(page), m_page(page), m_hidden(hidden), m_visible(visible), m_status(status)
{
    m_table = MakeAsyncRouterBinder(page, table, VrListTable2, timeout, description);
    m_table->AttachListView(hidden, true);
    m_table->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { loaded(r); };
    const std::vector<int> order = VrListViewBinding(m_table->Request.VarList).ColumnItems();
    m_columns.assign(size_t(m_table->Request.VarList.Count()), -1);
    for (size_t c = 0; c < order.size(); ++c)
        m_columns[size_t(order[c])] = int(c);
    hidden->hide();
    visible->setRootIsDecorated(false);
    visible->setSelectionMode(QAbstractItemView::SingleSelection);
    visible->setSelectionBehavior(QAbstractItemView::SelectRows);
    visible->setAllColumnsShowFocus(true);
}

QLabel *RouterList::Result() const { return m_status->panel(0); }
QLabel *RouterList::Changes() const { return m_status->panel(1); }

void RouterList::setBusy(bool busy)
{
    m_busy = busy;
    if (BusyChanged)
        BusyChanged(busy);
}

void RouterList::Reload()
{
    setBusy(true);
    {
        // The rows go away with the walk; the page must not take a stale selection.
        const QSignalBlocker quiet(m_visible);
        m_visible->clear();
    }
    if (!reported(Result(), [this] { return m_table->Load(); })) {
        VrSNMPError failed;
        failed.Code = -1;
        failed.Message = Result()->text();
        loaded(failed);
    }
}

void RouterList::loaded(const VrSNMPError &result)
{
    {
        const QSignalBlocker quiet(m_visible);
        m_visible->clear();
        for (int row = 0; row < RowCount(); ++row) {
            const QStringList texts = Row(row);
            if (!IsUsed(texts))
                continue;
            auto *line = new QTreeWidgetItem(m_visible, Texts(texts));
            line->setData(0, Qt::UserRole, row);
        }
    }
    const bool ok = result.Code == 0;
    Result()->setText(ok ? QStringLiteral("Get OK!") : result.Message);
    if (!ok)
        qCWarning(lcRouter) << m_table->Request.VarList.description << "not read:" << result.Message;
    setBusy(false);
    if (Loaded)
        Loaded(ok);
}

QStringList RouterList::Row(int row) const
{
    QStringList texts;
    const QTreeWidgetItem *line = m_hidden->topLevelItem(row);
    for (const int column : m_columns)
        texts << (line && column >= 0 ? line->text(column) : QString());
    return texts;
}

int RouterList::RowCount() const { return m_hidden->topLevelItemCount(); }

int RouterList::UsedCount() const { return m_visible->topLevelItemCount(); }

QStringList RouterList::UsedColumn(int item) const
{
    QStringList texts;
    for (int i = 0; i < UsedCount(); ++i)
        texts << Row(TableRowOf(i)).value(item);
    return texts;
}

int RouterList::TableRowOf(int visiblePosition) const
{
    const QTreeWidgetItem *line = m_visible->topLevelItem(visiblePosition);
    return line ? line->data(0, Qt::UserRole).toInt() : -1;
}

int RouterList::SelectedVisible() const
{
    const QList<QTreeWidgetItem *> picked = m_visible->selectedItems();
    return picked.isEmpty() ? -1 : m_visible->indexOfTopLevelItem(picked.first());
}

bool RouterList::SelectRow(int row)
{
    QTreeWidgetItem *line = m_hidden->topLevelItem(row);
    if (!line)
        return false;
    m_hidden->clearSelection();
    line->setSelected(true);
    return true;
}

bool RouterList::SelectFree()
{
    for (int row = 0; row < RowCount(); ++row)
        if (!IsUsed(Row(row)))
            return SelectRow(row);
    m_hidden->clearSelection();
    return false;
}

bool RouterList::SelectVisible(int visiblePosition)
{
    const int row = TableRowOf(visiblePosition);
    // An edit belongs to the rule it was started on; once another rule (or
    // none) is picked, a write must not land on the edited row.
    if (row != m_editRow)
        LeaveEditMode();
    return SelectRow(row);
}

bool RouterList::EnterEditMode()
{
    const int row = TableRowOf(SelectedVisible());
    if (row < 0 || !SelectRow(row))
        return false;
    m_editRow = row;
    return true;
}

int RouterList::TargetRow() const
{
    if (Editing())
        return m_editRow;
    for (int row = 0; row < RowCount(); ++row)
        if (!IsUsed(Row(row)))
            return row;
    return -1;
}

void RouterList::TakeRow(int row, QLabel *indexLabel)
{
    {
        const QSignalBlocker quiet(m_hidden);
        SelectRow(row);
    }
    indexLabel->setText(Row(row).value(0));
}

VrSNMPRequest2Edits *RouterList::ChangeBinder(const VrSNMPVarDef *table, const QString &description)
{
    return MakeAsyncRouterBinder(m_page, table, VrListInstance, 10000, description);
}

bool RouterList::Send(VrSNMPRequest2Edits *binder, const QString &done, const QString &failedText,
                      const QString &selection, const QStringList *values)
{
    binder->OnApplyDone = [this, done, failedText](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        written(done, failedText, r);
    };
    setBusy(true);
    Changes()->clear();
    if (reported(Result(), [&] { return binder->Apply(false, true, selection, values); }))
        return true;
    failed(Result()->text(), failedText);
    return false;
}

void RouterList::written(const QString &done, const QString &failedText, const VrSNMPError &result)
{
    if (result.Code != 0) {
        failed(result.Message, failedText);
        return;
    }
    Changes()->setText(done);
    Result()->setText(QStringLiteral("Refresh..."));
    Reload();
}

void RouterList::failed(const QString &message, const QString &failedText)
{
    qCWarning(lcRouter) << "change refused:" << message;
    Result()->setText(message);
    Changes()->setText(failedText);
    setBusy(false);
    if (Refused)
        Refused();
}
