#pragma once

#include <QString>
#include <stdexcept>

// A failure that ends a command and is shown to the user in the general error box
// with exactly this text ("ファイル %s は開けません。 %s ", a conversion error, ...).
class DalvinoError : public std::runtime_error {
public:
    explicit DalvinoError(const QString &text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString &text() const { return text_; }

private:
    QString text_;
};

// The text the framework shows when a text is not a decimal integer.
QString conversionErrorText(const QString &value);

// Reads a decimal integer the way the phone book's files use them (optional sign,
// digits, surrounding spaces tolerated); throws DalvinoError otherwise.
int toIntOrThrow(const QString &value);
