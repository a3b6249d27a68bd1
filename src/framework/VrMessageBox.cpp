#include "VrMessageBox.h"

#include "SnmpEventProcessor.h"
#include "VrWaitGuard.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
VrMessageBoxRecorder *g_recorder = nullptr;
}

QMessageBox::StandardButton VrMessageBox(QWidget *parent, const QString &text, const QString &caption,
                                         QMessageBox::StandardButtons buttons)
{
    // Nobody is there to answer on a page being left or in a program that
    // is closing: the box's way out is taken, which does nothing further.
    const bool nobodyThere = SnmpEventProcessor::Global().Abandoned() || VrWaitGuard::Leaving(parent);
    const QMessageBox::StandardButton wayOut = buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                             : buttons.testFlag(QMessageBox::No)     ? QMessageBox::No
                                                                                     : QMessageBox::Ok;
    if (g_recorder) {
        g_recorder->m_calls.append({parent, text, caption, buttons});
        return nobodyThere ? wayOut : g_recorder->m_answer;
    }
    if (nobodyThere)
        return wayOut;
    QMessageBox box(QMessageBox::NoIcon, caption, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

QString VrExecutableName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

VrMessageBoxRecorder::VrMessageBoxRecorder(QMessageBox::StandardButton answer)
    : m_answer(answer), m_previous(g_recorder)
{
    g_recorder = this;
}

VrMessageBoxRecorder::~VrMessageBoxRecorder()
{
    g_recorder = m_previous;
}
