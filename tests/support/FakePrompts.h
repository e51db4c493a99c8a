#pragma once

#include "ui/FileChoices.h"
#include "ui/Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// A scripted stand-in for the message boxes: it records each (kind, text) and answers
// confirmations from a queue. A confirmation without a scripted answer fails the test
// (it is recorded as "unexpected" and answered No / Cancel).
class FakePrompts : public Prompts {
public:
    struct Shown {
        QString kind; // "information", "warning", "error", "confirm", "confirmWarning", "confirmWithCancel"
        QString text;
    };

    FakePrompts() { Prompts::install(this); }
    ~FakePrompts() override { Prompts::install(nullptr); }

    void answer(Answer a) { answers.enqueue(a); }
    void answerYes() { answer(Answer::Yes); }
    void answerNo() { answer(Answer::No); }
    void answerCancel() { answer(Answer::Cancel); }

    void information(const QString &text) override { shown << Shown{QStringLiteral("information"), text}; }
    void warning(const QString &text, bool) override { shown << Shown{QStringLiteral("warning"), text}; }
    void error(const QString &text) override { shown << Shown{QStringLiteral("error"), text}; }
    bool confirm(const QString &text) override { return next(QStringLiteral("confirm"), text) == Answer::Yes; }
    bool confirmWarning(const QString &text) override
    {
        return next(QStringLiteral("confirmWarning"), text) == Answer::Yes;
    }
    Answer confirmWithCancel(const QString &text) override { return next(QStringLiteral("confirmWithCancel"), text); }

    QStringList texts() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list << s.text;
        return list;
    }
    QStringList kinds() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list << s.kind;
        return list;
    }
    void clear() { shown.clear(); }

    QList<Shown> shown;
    QQueue<Answer> answers;
    int unexpected = 0;

private:
    Answer next(const QString &kind, const QString &text)
    {
        shown << Shown{kind, text};
        if (answers.isEmpty()) {
            ++unexpected;
            return kind == QStringLiteral("confirmWithCancel") ? Answer::Cancel : Answer::No;
        }
        return answers.dequeue();
    }
};

// A scripted stand-in for the file dialogs: answers each request with the next queued
// path (an empty path is a cancel) and records the requests.
class FakeFileChoices : public FileChoices {
public:
    FakeFileChoices() { FileChoices::install(this); }
    ~FakeFileChoices() override { FileChoices::install(nullptr); }

    QString choose(QWidget *, const Request &request) override
    {
        requests << request;
        if (paths.isEmpty()) {
            ++unexpected;
            return QString();
        }
        return paths.dequeue();
    }

    QQueue<QString> paths;
    QList<Request> requests;
    int unexpected = 0;
};
