#include "core/DalvinoError.h"

QString conversionErrorText(const QString &value)
{
    return QStringLiteral("'%1' は整数ではありません").arg(value);
}

int toIntOrThrow(const QString &value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    if (!ok || value.trimmed().isEmpty())
        throw DalvinoError(conversionErrorText(value));
    return number;
}
