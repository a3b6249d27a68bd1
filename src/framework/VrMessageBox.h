#pragma once

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QString>

// Every modal message of the program goes through this one function, so that
// tests can answer it without a window (see VrMessageBoxRecorder).
QMessageBox::StandardButton VrMessageBox(QWidget *parent, const QString &text, const QString &caption,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// The executable's file name without its directory: the caption of the
// framework's own message boxes.
QString VrExecutableName();

// While one exists, VrMessageBox shows nothing: it records the call and
// returns the chosen answer. Recorders nest; the newest one answers.
class VrMessageBoxRecorder
{
public:
    struct Call {
        QPointer<QWidget> parent;
        QString text;
        QString caption;
        QMessageBox::StandardButtons buttons;
    };

    explicit VrMessageBoxRecorder(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~VrMessageBoxRecorder();
    VrMessageBoxRecorder(const VrMessageBoxRecorder &) = delete;
    VrMessageBoxRecorder &operator=(const VrMessageBoxRecorder &) = delete;

    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    const QList<Call> &calls() const { return m_calls; }
    int count() const { return int(m_calls.size()); }
    // The text of the latest call; empty when there was none.
    QString lastText() const { return m_calls.isEmpty() ? QString() : m_calls.last().text; }
    void clear() { m_calls.clear(); }

private:
    friend QMessageBox::StandardButton VrMessageBox(QWidget *, const QString &, const QString &,
                                                    QMessageBox::StandardButtons);
    QMessageBox::StandardButton m_answer;
    QList<Call> m_calls;
    VrMessageBoxRecorder *m_previous;
};
