#include "ui/PhoneNumberHint.h"

#include "core/PhoneNumbers.h"
#include "ui/TextColor.h"

#include <QLabel>
#include <QLineEdit>

QLabel *makePhoneNumberHint(QLineEdit *number, QWidget *parent)
{
    auto *hint = new QLabel(parent);
    hint->setObjectName(QStringLiteral("PhoneNumberHint"));
    setTextColor(hint, QColor(0xB0, 0x50, 0x00));
    // The line keeps its height when empty, so that the editor does not jump while typing.
    hint->setMinimumHeight(hint->fontMetrics().height());
    QObject::connect(number, &QLineEdit::textChanged, hint,
                     [hint](const QString &text) { hint->setText(numberProblemMessage(judgePhoneNumber(text))); });
    return hint;
}
