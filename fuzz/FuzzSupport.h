#pragma once

// Shared by the fuzz targets: the input as Qt types, and the property checks that stop
// the run with a readable reason (libFuzzer then saves the input as a crash).
#include "core/PhoneBook.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

[[noreturn]] inline void propertyBroken(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "PROPERTY BROKEN at %s:%d: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_REQUIRE(condition)                                                                                        \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            propertyBroken(#condition, __FILE__, __LINE__);                                                            \
    } while (false)

// A small number taken from the input without taking bytes from it, so that the seed
// files stay what they are: the same input always picks the same option.
inline unsigned fuzzChoice(const uint8_t *data, size_t size, unsigned options)
{
    std::uint32_t h = 2166136261u;
    for (size_t i = 0; i < size && i < 64; ++i)
        h = (h ^ data[i]) * 16777619u;
    h ^= static_cast<std::uint32_t>(size);
    return options == 0 ? 0 : h % options;
}

// The shape every phone book has, whatever was read into it.
inline void requireShape(const PhoneBook &book)
{
    FUZZ_REQUIRE(book.entries.size() == PhoneBook::EntryCount);
    FUZZ_REQUIRE(book.groups.size() == PhoneBook::GroupCount);
    for (int i = 0; i < PhoneBook::EntryCount; ++i)
        FUZZ_REQUIRE(book.entries[i].No == PhoneBook::slotNumber(i));
    for (int g = 0; g < PhoneBook::GroupCount; ++g)
        FUZZ_REQUIRE(book.groups[g].Label == PhoneBook::groupLabel(g));
}

inline bool sameBook(const PhoneBook &a, const PhoneBook &b)
{
    return a.entries == b.entries && a.groups == b.groups && a.UserName == b.UserName && a.UserNo == b.UserNo &&
           a.Syubetu == b.Syubetu && a.WriteMode == b.WriteMode && a.MACAddress == b.MACAddress &&
           a.SyubetuFlag == b.SyubetuFlag && a.Modified == b.Modified && a.FileName == b.FileName;
}

// FUZZ_DUMP=folder keeps the two texts of a broken round trip for a look.
inline void dumpTexts(const QString &first, const QString &second)
{
    const QByteArray folder = qgetenv("FUZZ_DUMP");
    if (folder.isEmpty())
        return;
    for (const auto &[name, text] : {std::pair{"first.txt", first}, std::pair{"second.txt", second}}) {
        QFile file(QString::fromLocal8Bit(folder) + u'/' + QLatin1StringView(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
    }
}
