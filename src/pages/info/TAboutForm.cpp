#include "TAboutForm.h"

#include "ModuleInfo.h"
#include "ui_TAboutForm.h"

#include <QKeyEvent>

TAboutForm *AboutForm = nullptr;

TAboutForm::TAboutForm(QWidget *parent)
    : QDialog(parent), ui(new Ui::TAboutForm)
{
    ui->setupUi(this);
    ui->Label1->setText(QString::fromLatin1(ModuleModelName) + QStringLiteral(" Management Module"));
    ui->La_FwVer->setText(QString::fromLatin1(ModuleReleaseVersion));
    ui->Label4->setText(QString::fromLatin1(ModuleBuildLabel));
    ui->Label4->hide();
    ui->BT_Ok->installEventFilter(this);
    connect(ui->BT_Ok, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutForm::~TAboutForm()
{
    delete ui;
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->BT_Ok && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const auto held = key->modifiers() & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
        if (key->key() == Qt::Key_F3 && held == (Qt::ShiftModifier | Qt::AltModifier)) {
            ui->Label4->show();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
