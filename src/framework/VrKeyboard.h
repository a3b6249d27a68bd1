#pragma once

class QDialog;

// Readies a page for use from the keyboard. Enter in a field must never press
// a button by accident (Save with a half-typed value): no button of the page is
// its default, neither now nor when it shows, and an Enter no field took stops
// at the page. Space still presses the focused button. Esc is left to
// QDialog, which calls the page's reject(): pages refuse closing there while
// they are busy, so the key keeps the same refusal as Cancel and the title bar.
void VrKeyboardReady(QDialog *page);
