#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <optional>

// The machine's physical memory, in bytes.
struct MemoryStatus {
    quint64 totalPhys = 0;
    quint64 availPhys = 0;
};

// MemTotal and MemAvailable of a /proc/meminfo text (given in kB there); nothing when
// MemTotal is missing. Without MemAvailable (old kernels) the free memory is taken.
std::optional<MemoryStatus> parseMeminfo(const QString &text);
// From /proc/meminfo, or from sysinfo() when that cannot be read.
MemoryStatus readMemoryStatus();

// "#,##0KB": bytes / 1024 rounded to the nearest whole number (a half to the even one),
// grouped by thousands with the locale's separator.
QString formatMemoryFigure(quint64 bytes, const QLocale &locale = QLocale());
