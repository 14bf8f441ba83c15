#include "dialogbuttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

QDialogButtonBox *okCancelButtons(QDialog *dialog)
{
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton *ok = box->button(QDialogButtonBox::Ok);
    QPushButton *cancel = box->button(QDialogButtonBox::Cancel);
    // The captions as the program has always had them, not the desktop's.
    ok->setText(u"Ok"_s);
    ok->setObjectName(u"Command1"_s);
    ok->setDefault(true);
    cancel->setText(u"Cancel"_s);
    cancel->setObjectName(u"Command2"_s);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}
