#pragma once

#include "core/PhoneBook.h"

#include <QString>
#include <QStringList>

// The files dalvino-cli reads and writes, chosen by extension (lower case, no dot).
struct CliInput {
    PhoneBook book;       // Syubetu is the model read from the file
    QStringList messages; // what the GUI would show after reading
};
// Throws DalvinoError on failure, also for a rejected file.
using CliInputReader = CliInput (*)(const QString &path);
// Returns the messages the GUI would show while writing.
using CliOutputWriter = QStringList (*)(const PhoneBook &book, const QString &path);

// The readers and writers, each defined in the file of its owner.
CliInput readPhoneBookInput(const QString &path);
CliInput readLegacyCsvInput(const QString &path);
QStringList writeXmlOutput(const PhoneBook &book, const QString &path);
QStringList writeLegOutput(const PhoneBook &book, const QString &path);
QStringList writeCsvOutput(const PhoneBook &book, const QString &path);

// nullptr when the extension is not known.
CliInputReader inputReader(const QString &path);
CliOutputWriter outputWriter(const QString &path);
QStringList inputExtensions();
QStringList outputExtensions();
