#pragma once

#include "VrSNMPRequest.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The unit of reading and writing of a page: owns one request with its
// variable list, runs Load (read the list, hand each row to the controls) and
// Apply (gather the controls' values, write the list), synchronously or
// asynchronously, around a fixed sequence of virtual steps that a derived
// binder fills in. Results are reported as a status line in a status bar, a
// status panel (label) or a memo, or else in a message box.
//
// Created with the page as parent and destroyed with it.
class VrSNMPRequest2Controls : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(VrSNMPRequest2Controls *sender, const VrSNMPError &result)>;

    explicit VrSNMPRequest2Controls(QWidget *ownerForm);
    ~VrSNMPRequest2Controls() override;

    // True when no error was reported. Synchronous mode: errors of the
    // exchange went to Request.OnError; exceptions (bad syntax, bad address,
    // conversion errors) reach the caller. Asynchronous mode: returns at once;
    // the outcome arrives in OnLoadDone / OnApplyDone.
    bool Load();
    // readBack: reload a table list after the write. gather: take the
    // controls' values first. selection and values go to the request's write.
    bool Apply(bool readBack = true, bool gather = true, const QString &selection = QString(),
               const QStringList *values = nullptr);

    // A VrStatusBar or QStatusBar (simple text), a QLabel (status panel), or a
    // QPlainTextEdit / QTextEdit (memo, a line appended); null for none.
    void SetStatusTarget(QWidget *target) { m_statusTarget = target; }
    QWidget *StatusTarget() const { return m_statusTarget; }
    // The status line of the last operation, with the message and the time.
    void ShowStatus(const QString &message);

    QWidget *OwnerForm() const { return m_owner; }
    bool Busy() const { return m_busy; }
    int RowCount() const { return m_rowCount; }

    // A group whose read was asked for and never succeeded holds no values of
    // the device (empty fields, first entries): Apply refuses to write it and
    // says why in a message box, until a Load succeeds. A group never read at
    // all (a command) is written as always.
    bool WasRead() const { return m_read == ReadState::Read; }
    // The page left this group unread (the device had stopped answering): it
    // counts as a read that failed.
    void SkipLoad() { noteRead(false); }

    VrSNMPRequest Request;
    bool Asynchronous = true;
    bool ReadBack = true;
    Done OnLoadDone;
    Done OnApplyDone;

protected:
    virtual void BeforeLoad() {}
    virtual void BeforeApply() {}
    virtual void RowReceived() = 0;
    virtual void GatherValues() {}
    virtual void ReportLoadError(const VrSNMPError &error);
    virtual void ReportApplyError(const VrSNMPError &error);
    virtual void AfterLoad() {}
    virtual void AfterApply() {}

    // A message in the status target, else in a message box.
    void Report(const QString &message);
    // Reports the exception being handled; for handlers that run from the
    // event loop or the SNMP library, where nothing may escape. Only in a
    // catch block.
    void ReportCurrentException();

private:
    static void loadDone(void *data, VrSNMPError &error, VrSNMPVarList &list);
    static void applyDone(void *data, VrSNMPError &error, VrSNMPVarList &list);
    void takeRow();
    void finishLoad(const VrSNMPError &result);
    void reportSuccess();
    void noteRead(bool ok);
    void refuseUnread();
    void reportCancelledSave();

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_statusTarget;
    bool m_busy = false;
    bool m_lastWrite = false;
    bool m_destroying = false;
    int m_rowCount = 0;
    enum class ReadState { NotAsked, Failed, Read } m_read = ReadState::NotAsked;
};
