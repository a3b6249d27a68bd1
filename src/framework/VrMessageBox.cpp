#include "VrMessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
VrMessageBoxRecorder *g_recorder = nullptr;
}

QMessageBox::StandardButton VrMessageBox(QWidget *parent, const QString &text, const QString &caption,
                                         QMessageBox::StandardButtons buttons)
{
    if (g_recorder) {
        g_recorder->m_calls.append({parent, text, caption, buttons});
        return g_recorder->m_answer;
    }
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
