#include "VrStatusBar.h"

#include <QLabel>

VrStatusBar::VrStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
}

QLabel *VrStatusBar::panel(int index)
{
    while (m_panels.size() <= index) {
        auto *label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        addWidget(label, 1);
        m_panels.append(label);
    }
    return m_panels.at(index);
}

void VrStatusBar::setSimpleText(const QString &text)
{
    m_simpleText = text;
    m_simple = true;
    showMessage(text);
}

void VrStatusBar::setSimplePanel(bool simple)
{
    m_simple = simple;
    if (simple)
        showMessage(m_simpleText);
    else
        clearMessage();
}
