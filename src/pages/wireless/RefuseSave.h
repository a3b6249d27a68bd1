#pragma once

#include "VrMessageBox.h"
#include "WirelessRules.h"

#include <QLineEdit>
#include <QWidget>

// A Save the rules refused: the message box, then the field at fault on the
// page, cleared where the rule says so, gets the focus. Always false, what
// Save then returns.
inline bool RefuseSave(QWidget *page, const SaveProblem &problem)
{
    VrMessageBox(page, problem.text, problem.title);
    if (auto *field = page->findChild<QLineEdit *>(problem.field)) {
        if (problem.clear)
            field->clear();
        field->setFocus();
    }
    return false;
}
