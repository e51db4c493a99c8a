#pragma once

#include "TestPaths.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// One run of the built dalvino-cli: its exit status and both output streams as UTF-8.
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(binDir() + QStringLiteral("/dalvino-cli"), arguments);
    if (!process.waitForFinished(60000))
        qFatal("dalvino-cli did not finish");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
