#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a console program left behind once it has ended.
struct RedirectResult {
    int exitCode = 0;
    bool crashed = false; // ended by a signal rather than by exiting
    QByteArray output;    // everything written to standard output
    QByteArray error;     // everything written to standard error

    bool succeeded() const { return !crashed && exitCode == 0; }
    QString errorText() const { return QString::fromLocal8Bit(error); }
};

// Runs a console program hidden and waits for it to end. command is the program followed
// by its arguments; each reaches the program as one argument, nothing is interpreted by a
// shell. The program reads input followed by the end-of-input byte 0x1A on standard
// input, which stays open until it has ended. Both output streams are drained side by
// side in chunks of at most 2049 bytes; waiting window events are dispatched before each
// chunk (user input excepted, so that no second command starts meanwhile).
// Throws DalvinoError "システムエラー。コード：%d.\r\n%s" when the program cannot be started.
RedirectResult RunRedirected(const QStringList &command, const QByteArray &input = QByteArray());

QString systemErrorText(int code, const QString &reason);
