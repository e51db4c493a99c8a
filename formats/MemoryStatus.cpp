#include "formats/MemoryStatus.h"

#include <QFile>
#include <QStringList>

#include <sys/sysinfo.h>

namespace {

std::optional<quint64> kilobytesOf(const QString &text, QStringView key)
{
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (!line.startsWith(key) || line.size() <= key.size() || line.at(key.size()) != u':')
            continue;
        QStringView value = line.mid(key.size() + 1).trimmed();
        if (value.endsWith(u"kB"))
            value.chop(2);
        bool ok = false;
        const quint64 kb = value.trimmed().toULongLong(&ok);
        if (ok)
            return kb;
    }
    return std::nullopt;
}

} // namespace

std::optional<MemoryStatus> parseMeminfo(const QString &text)
{
    const auto total = kilobytesOf(text, u"MemTotal");
    if (!total)
        return std::nullopt;
    auto avail = kilobytesOf(text, u"MemAvailable");
    if (!avail)
        avail = kilobytesOf(text, u"MemFree");
    return MemoryStatus{*total * 1024, avail.value_or(0) * 1024};
}

MemoryStatus readMemoryStatus()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (file.open(QIODevice::ReadOnly)) {
        if (auto status = parseMeminfo(QString::fromLatin1(file.readAll())))
            return *status;
    }
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return {};
    const quint64 unit = info.mem_unit ? info.mem_unit : 1;
    return {quint64(info.totalram) * unit, quint64(info.freeram) * unit};
}

QString formatMemoryFigure(quint64 bytes, const QLocale &locale)
{
    quint64 kb = bytes / 1024;
    const quint64 rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && kb % 2 == 1))
        ++kb;
    const QString digits = QString::number(kb);
    const QString separator = locale.groupSeparator();
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits.at(i);
    }
    return grouped + QStringLiteral("KB");
}
