#pragma once

#include <QString>
#include <QStringList>

// The bridge to the converter Quenda.dll beside the executable, which turns a .leg file
// into the working XML file and back. The working file is removed before each run, so
// that a file left over from an earlier failure is never taken for the converter's work.
// Programs beside the same converter take turns with the working file: each conversion
// (and each removal) waits while another program's conversion holds it, and gives up
// with workingFileBusyText when that takes longer than a conversion can.
namespace LegConverter {

// The two command lines: program first, then one argument each.
QStringList legToXmlCommand(const QString &legPath);
QStringList xmlToLegCommand(const QString &legPath);

// Converts a .leg file and returns the decoded text of the working file it gave, which is
// deleted once read. Throws DalvinoError when the converter cannot be started, ends with
// an error or writes no working file.
QString readLeg(const QString &legPath);

// Writes the text (lines ended by CR LF) as the working file and converts them into the .leg file. The
// converter writes a temporary file beside the target that replaces the target only
// after a run that ended well and left a file that is not empty and that the converter
// reads back; on any failure the existing target is untouched. The working file is deleted after a successful run.
void writeLeg(const QString &legPath, const QString &text);

// Removes the working file; a missing one is no error.
void removeWorkingFile();

QString workingFileBusyText(const QString &workingFile);

// How long a conversion waits for another program's; below 0 the normal wait.
void setLockWaitForTesting(int milliseconds);

// The error text of a run that did not produce its file, with the converter's exit
// status and message.
QString failedText(const QString &target, int exitCode, const QString &converterMessage);

} // namespace LegConverter
