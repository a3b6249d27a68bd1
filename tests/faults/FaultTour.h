#pragma once
// Every page of the menu against a device that misbehaves: requests dropped,
// answers late, the device falling silent while the page reads, the device
// restarting in the middle of a Save, the user leaving a page that waits for
// a silent device. Each page x fault cell runs in its own
// process (a crash or a sanitizer report then marks that cell only); the tour
// prints the table and fails when a cell does.
#include <QMessageBox>
#include <QString>

namespace faults {

// Cancel: the user leaves a page that waits for a silent device (Esc a
// second after it opened; on a page with a Save, its Cancel or Close button a
// second after the Save was pressed).
enum class Fault { Drop, Delay, Mute, RestartInSave, Cancel };
inline constexpr Fault AllFaults[] = {Fault::Drop, Fault::Delay, Fault::Mute, Fault::RestartInSave, Fault::Cancel};

const char *FaultName(Fault fault);
bool ParseFault(const QString &name, Fault &fault);

// What a user changes on a page before its Save, then the Save (or, on a list
// page, the Add that writes the new rule) clicked. steps: "Field=value" parts
// separated by ';': a line edit is typed into, a drop-down list picks the
// text ("*": the next choice), a check box or radio button is clicked
// ("click"). answer is what the page's confirmations get.
struct SaveEdit {
    const char *page;
    const char *steps;
    const char *button;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};

// Null for a page without a Save (its restart cell is n/a).
const SaveEdit *FindSaveEdit(const char *page);

// Runs one cell in this process and prints its result line; the exit code is
// 0 whatever the verdict (a crash shows as a signal).
int RunCell(const QString &page, Fault fault);

} // namespace faults
