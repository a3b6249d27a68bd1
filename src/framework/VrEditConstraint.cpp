#include "VrEditConstraint.h"

#include "VrBeep.h"
#include "VrConstraintFormat.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcConstraint, "qrt.framework.constraint", QtInfoMsg)

struct VrEditConstraint::Record {
    VrConstraintFormat format;
    QString lastValidText;
    QMetaObject::Connection changed;
};

namespace {
bool isMarker(const QString &text)
{
    return text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)");
}
} // namespace

VrEditConstraint::VrEditConstraint(QWidget *owner, bool rememberValid, QObject *parent)
    : QObject(parent), RememberValid(rememberValid), m_owner(owner)
{
}

VrEditConstraint::~VrEditConstraint()
{
    qDeleteAll(m_records);
}

void VrEditConstraint::AddConstraints(const QString &format, const QList<QLineEdit *> &edits)
{
    const QStringList pieces = VrConstraintFormat::Split(format);
    if (edits.size() < pieces.size())
        throw VrSNMPException(VrErrTooFewControls);
    // Parse every piece before touching an edit, so a bad format changes nothing.
    for (const QString &piece : pieces)
        VrConstraintFormat::Parse(piece);
    for (int k = 0; k < pieces.size(); ++k)
        AddConstraint(pieces[k], edits[k]);
}

void VrEditConstraint::AddConstraint(const QString &format, QLineEdit *edit)
{
    auto record = std::make_unique<Record>();
    record->format = VrConstraintFormat::Parse(format);
    RemoveConstraint(edit);
    if (record->format.width > 0)
        edit->setFixedWidth(record->format.width);
    // For a number list the length counts numbers, not characters: limiting the
    // characters to it would make "10.0.0.1" impossible to type in a "%n.{l4f}".
    // QLineEdit's own "unlimited" is 32767.
    const bool countsCharacters = record->format.conversion != QLatin1Char('n');
    edit->setMaxLength(countsCharacters && record->format.length > 0 ? record->format.length : 32767);
    record->changed = connect(edit, &QLineEdit::textChanged, this, [this, edit] { editChange(edit); });
    edit->installEventFilter(this);
    connect(edit, &QObject::destroyed, this, [this, edit] { delete m_records.take(edit); });
    m_records.insert(edit, record.release());
}

void VrEditConstraint::RemoveConstraint(QLineEdit *edit)
{
    Record *record = m_records.take(edit);
    if (!record)
        return;
    disconnect(record->changed);
    disconnect(edit, &QObject::destroyed, this, nullptr);
    edit->removeEventFilter(this);
    delete record;
}

bool VrEditConstraint::HasConstraint(QLineEdit *edit) const
{
    return m_records.contains(edit);
}

void VrEditConstraint::RememberText(QLineEdit *edit)
{
    if (Record *record = m_records.value(edit))
        record->lastValidText = edit->text();
}

QString VrEditConstraint::LastValidText(QLineEdit *edit) const
{
    const Record *record = m_records.value(edit);
    return record ? record->lastValidText : QString();
}

bool VrEditConstraint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Switching windows or opening a menu does not leave the edit; nor does
        // the modal box that a refused exit itself opens.
        // An edit being destroyed loses the focus too, from ~QWidget, when it
        // is no longer a QLineEdit: that is no exit to check.
        auto *edit = qobject_cast<QLineEdit *>(watched);
        if (edit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !m_inExit)
            editExit(edit);
    }
    return QObject::eventFilter(watched, event);
}

void VrEditConstraint::editChange(QLineEdit *edit)
{
    const QString text = edit->text();
    Record *record = m_records.value(edit);
    if (!record || text.isEmpty() || isMarker(text))
        return;
    const VrConstraintFormat &format = record->format;

    if (!format.exitChar.isNull()) {
        const int at = int(text.indexOf(format.exitChar));
        if (at >= 0) {
            edit->setText(QString(text).remove(at, 1));
            focusNext();
            return;
        }
    }
    const int bad = format.FirstDisallowed(text);
    if (bad >= 0) {
        const int cursor = edit->cursorPosition();
        VrBeep();
        // Setting the text comes back here, so further bad characters go one by one.
        edit->setText(QString(text).remove(bad, 1));
        edit->setCursorPosition(cursor > bad ? cursor - 1 : cursor);
        return;
    }
    emit Changed(edit);
    if (!m_records.contains(edit) || edit->property(VrTagProperty).toInt() == -1)
        return;
    if (format.AutoAdvances(edit->text()))
        focusNext();
}

void VrEditConstraint::editExit(QLineEdit *edit)
{
    Record *record = m_records.value(edit);
    const QString text = edit->text();
    if (!record || isMarker(text))
        return;
    if (text.isEmpty() && !(record->format.flags & VrConstraintFormat::NotEmpty))
        return;

    const VrConstraintResult result = record->format.CheckExit(text);
    m_inExit = true;
    if (result.accepted()) {
        emit Exited(edit);
        if ((record = m_records.value(edit))) {
            if (edit->property(VrTagProperty).toInt() == -1)
                edit->setText(record->lastValidText);
            else if (RememberValid)
                record->lastValidText = edit->text();
        }
    } else {
        qCDebug(lcConstraint) << "refused" << edit->objectName() << "code" << result.code;
        VrMessageBox(m_owner, result.message, VrExecutableName(), QMessageBox::Ok);
        if ((record = m_records.value(edit))) {
            edit->setText(record->lastValidText);
            edit->setFocus(Qt::OtherFocusReason);
        }
    }
    m_inExit = false;
}

void VrEditConstraint::focusNext()
{
    // Posted like a Tab key, so that the move takes effect after the current
    // handler returns and follows the window's own tab order.
    QWidget *target = m_owner;
    if (!target) {
        if (QWidget *focus = QApplication::focusWidget())
            target = focus->window();
    }
    if (target)
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
}
