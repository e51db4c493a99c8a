#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bridge to the converter Quenda.dll beside the executable, which turns a .leg file
// into the working XML file and back. The working file is removed before each run, so
// that a file left over from an earlier failure is never taken for the converter's work.
// Each conversion holds the working file (WorkingFile::Hold) against the other programs
// beside the same converter, and the converter keeps that hold for as long as it runs.
namespace LegConverter {

// The two command lines: program first, then one argument each.
QStringList legToXmlCommand(const QString &legPath);
QStringList xmlToLegCommand(const QString &legPath);

// Converts a .leg file and returns the decoded text of the working file it gave, which is
// deleted once read. Throws DalvinoError when the converter cannot be started, ends with
// an error or writes no working file.
QString readLeg(const QString &legPath);

// Writes the text (lines ended by CR LF) as the working file and converts it into the
// .leg file. A target that is a link is written through it. The converter writes a
// temporary file beside the target, which replaces the target only after a run that
// ended well and left a file that converts back to exactly the bytes it was made from;
// on any failure the existing target is untouched. The working file is deleted after a
// successful run.
void writeLeg(const QString &legPath, const QString &text);

// Removes the working file; a missing one is no error.
void removeWorkingFile();

// The error text of a run that did not produce its file, with the converter's exit
// status and message.
QString failedText(const QString &target, int exitCode, const QString &converterMessage);

// The error text of a .leg file that does not convert back to what was written: where the
// two first differ, and both sizes.
QString differenceText(const QString &target, const QByteArray &written, const QByteArray &readBack);

} // namespace LegConverter
