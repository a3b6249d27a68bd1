#include "VrBeep.h"

#include <QApplication>

namespace {
VrBeepCounter *g_counter = nullptr;
}

void VrBeep()
{
    if (g_counter)
        ++g_counter->m_count;
    else
        QApplication::beep();
}

VrBeepCounter::VrBeepCounter() : m_previous(g_counter)
{
    g_counter = this;
}

VrBeepCounter::~VrBeepCounter()
{
    g_counter = m_previous;
}
