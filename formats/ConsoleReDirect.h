#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a console program left behind once it has ended.
struct RedirectResult {
    int exitCode = 0;
    bool crashed = false;  // ended by a signal rather than by exiting
    bool timedOut = false; // still running at the time limit, and ended there
    int timeLimitMs = 0;   // the limit, when timedOut
    QByteArray output;     // everything written to standard output
    QByteArray error;      // everything written to standard error

    bool succeeded() const { return !crashed && !timedOut && exitCode == 0; }
    // Standard error as text, and the time-out when the program was ended for it.
    QString errorText() const;
};

// How long a console program may run. The converter takes well under a second for a full
// phone book; one that hangs would otherwise freeze the program, whose window takes no
// input while it waits, and the user could only kill it with the unsaved document.
constexpr int RunTimeLimitMs = 120000;
// How much of each output stream is kept (the converter writes a few lines at most).
constexpr qsizetype RunKeptBytes = 4 * 1024 * 1024;

// Runs a console program hidden and waits for it to end. command is the program followed
// by its arguments; each reaches the program as one argument, nothing is interpreted by a
// shell. The program reads input followed by the end-of-input byte 0x1A on standard
// input, which stays open until it has ended. Both output streams are drained side by
// side in chunks of at most 2049 bytes; waiting window events are dispatched before each
// chunk (user input excepted, so that no second command starts meanwhile).
// Throws DalvinoError "システムエラー。コード：%d.\r\n%s" when the program cannot be started.
// A program still running after timeLimitMs is killed: the result is timedOut.
RedirectResult RunRedirected(const QStringList &command, const QByteArray &input = QByteArray(),
                             int timeLimitMs = RunTimeLimitMs);

QString timedOutText(int timeLimitMs);

QString systemErrorText(int code, const QString &reason);
