#pragma once

// The workstation's beep after a refused keystroke. Tests count beeps with a
// VrBeepCounter instead of hearing them.
void VrBeep();

// While one exists, VrBeep counts instead of sounding. Counters nest.
class VrBeepCounter
{
public:
    VrBeepCounter();
    ~VrBeepCounter();
    VrBeepCounter(const VrBeepCounter &) = delete;
    VrBeepCounter &operator=(const VrBeepCounter &) = delete;

    int count() const { return m_count; }

private:
    friend void VrBeep();
    int m_count = 0;
    VrBeepCounter *m_previous;
};
