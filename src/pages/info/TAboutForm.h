#pragma once

#include <QDialog>

namespace Ui {
class TAboutForm;
}

// Help, About: the module's name, release and (on Shift+Alt+F3 over the OK
// button) its build label.
class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget *parent = nullptr);
    ~TAboutForm() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Ui::TAboutForm *ui;
};

extern TAboutForm *AboutForm;
