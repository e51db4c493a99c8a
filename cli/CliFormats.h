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

// One line per format: extension, function (defined in the file of its owner).
#define DALVINO_CLI_INPUTS(X)                                                                                          \
    X("xml", readPhoneBookInput)                                                                                       \
    X("leg", readPhoneBookInput)                                                                                       \
    X("csv", readLegacyCsvInput)

#define DALVINO_CLI_OUTPUTS(X)                                                                                         \
    X("xml", writeXmlOutput)                                                                                           \
    X("leg", writeLegOutput)                                                                                           \
    X("csv", writeCsvOutput)

// nullptr when the extension is not known.
CliInputReader inputReader(const QString &path);
CliOutputWriter outputWriter(const QString &path);
QStringList inputExtensions();
QStringList outputExtensions();
