#pragma once

#include "SnmpdSuite.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// Runs the event loop until the condition holds or the time is up. Unlike
// QTest::qWaitFor it sleeps only while no event is due, so it adds no delay
// per answer.
inline bool WaitFor(const std::function<bool()> &condition, int ms)
{
    QDeadlineTimer deadline(ms);
    QTimer wake; // the loop must wake at the deadline even if nothing happens
    wake.start(ms);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}

// What a completion function saw.
struct Completions {
    int calls = 0;
    VrSNMPError last;
    std::vector<QStringList> rows;

    static void Record(void *data, VrSNMPError &error, VrSNMPVarList &list)
    {
        auto *self = static_cast<Completions *>(data);
        ++self->calls;
        self->last = error;
        QStringList values;
        for (int i = 0; i < list.Count(); ++i)
            values << list.Item(i).value;
        self->rows.push_back(values);
    }
};

