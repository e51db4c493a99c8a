#pragma once

class QLabel;
class QLineEdit;
class QWidget;

// A short line under a phone-number field that says, while the user types, when the
// number cannot be a number of its kind. It never stops the user: the entry check
// decides what may be written.
QLabel *makePhoneNumberHint(QLineEdit *number, QWidget *parent);
