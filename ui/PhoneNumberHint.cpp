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
    // The hint keeps the room of two lines and wraps within the field's width, so that the
    // editor neither jumps nor widens while typing.
    hint->setWordWrap(true);
    hint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    hint->setFixedHeight(2 * hint->fontMetrics().lineSpacing());
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QObject::connect(number, &QLineEdit::textChanged, hint,
                     [hint](const QString &text) { hint->setText(numberProblemMessage(judgePhoneNumber(text))); });
    return hint;
}
