#pragma once

class QDialog;
class QDialogButtonBox;

// A dialog's "Ok" (Command1, the default, accepting) and "Cancel" (Command2, rejecting, as
// Escape does), in the order the desktop puts them.
QDialogButtonBox *okCancelButtons(QDialog *dialog);
