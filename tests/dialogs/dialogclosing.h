#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTest>

// The ways a user ends a dialog, for data-driven tests of each dialog.
enum class Close
{
    OkButton,
    CancelButton,
    EnterKey,
    EscapeKey,
    CloseBox,
    Accept,
    Reject
};
Q_DECLARE_METATYPE(Close)

inline void closeDialog(QDialog &dialog, Close how, QPushButton *ok, QPushButton *cancel = nullptr)
{
    switch (how) {
    case Close::OkButton:
    case Close::CancelButton:
        if (QPushButton *button = how == Close::OkButton ? ok : cancel)
            button->click();
        else
            QFAIL("the dialog has no such button");
        break;
    case Close::EnterKey:
        QTest::keyClick(&dialog, Qt::Key_Return);
        break;
    case Close::EscapeKey:
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    case Close::CloseBox:
        dialog.close();
        break;
    case Close::Accept:
        dialog.accept();
        break;
    case Close::Reject:
        dialog.reject();
        break;
    }
}
