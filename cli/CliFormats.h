#pragma once

#include "core/PhoneBook.h"

#include <QString>
#include <QStringList>

#include <functional>

struct CliCommand;
class QCommandLineParser;

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

// The reader or writer for path; nullptr after the command's usage error when the extension
// is not known.
CliInputReader inputReader(const CliCommand &command, const QString &path);
CliOutputWriter outputWriter(const CliCommand &command, const QString &path);
QStringList inputExtensions();
QStringList outputExtensions();

// Reads IN and prints the messages the program would show after reading it.
CliInput readReported(CliInputReader read, const QString &path);

// A command "IN OUT": reads IN, lets change alter the phone book and writes OUT, the
// messages of both on standard error. A wrong count of files or an unknown extension is
// a usage error before anything is read.
int rewritePhoneBook(const CliCommand &command, const QCommandLineParser &arguments,
                     const std::function<void(PhoneBook &book)> &change);
