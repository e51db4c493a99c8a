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
    bool flooded = false;  // ended once it had written more than RunKeptBytes to a stream
    QByteArray output;     // what it wrote to standard output, at most RunKeptBytes
    QByteArray error;      // what it wrote to standard error, at most RunKeptBytes

    bool succeeded() const { return !crashed && !timedOut && !flooded && exitCode == 0; }
    // Standard error as text for a message box (lines joined by CR LF): its first lines
    // only, then why the program was ended when it was.
    QString errorText() const;
};

// How long a console program may run. The converter takes well under a second for a full
// phone book; one that hangs would otherwise freeze the program, whose window takes no
// input while it waits, and the user could only kill it with the unsaved document.
constexpr int RunTimeLimitMs = 120000;
// How much of each output stream is kept. The converter writes a few lines at most: one
// that writes more than this is writing without end and is ended at once.
constexpr qsizetype RunKeptBytes = 4 * 1024 * 1024;
// How much of standard error a message shows; a longer run without a space is broken.
constexpr int ShownErrorLines = 10;
constexpr int ShownErrorCharacters = 1000;
constexpr int ShownWordCharacters = 100;

// Runs a console program hidden and waits for it to end. command is the program followed
// by its arguments; each reaches the program as one argument, nothing is interpreted by a
// shell. The program reads input followed by the end-of-input byte 0x1A on standard
// input, which stays open until it has ended. Both output streams are drained side by
// side as they arrive; waiting window events are dispatched meanwhile (user input
// excepted, so that no second command starts).
// The program runs in a process group of its own and is killed when this program dies,
// so that it never outlives the program that started it. inheritedDescriptor, when not
// -1, stays open in the program and in whatever it starts (the working file's lock).
// Throws DalvinoError "システムエラー。コード：%d.\r\n%s" when the program cannot be started.
// A program still running after timeLimitMs is ended with everything it started: the
// result is timedOut.
RedirectResult RunRedirected(const QStringList &command, const QByteArray &input = QByteArray(),
                             int timeLimitMs = RunTimeLimitMs, int inheritedDescriptor = -1);

QString timedOutText(int timeLimitMs);
QString floodedText();

QString systemErrorText(int code, const QString &reason);
// The system's text for an error number.
QString systemReason(int code);
