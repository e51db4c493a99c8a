#include "formats/LegConverter.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/ConsoleReDirect.h"
#include "formats/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace LegConverter {

QStringList legToXmlCommand(const QString &legPath)
{
    return {AppPaths::converter(), legPath, AppPaths::workingFile()};
}

QStringList xmlToLegCommand(const QString &legPath)
{
    return {AppPaths::converter(), QStringLiteral("-e"), AppPaths::workingFile(), legPath};
}

void removeWorkingFile()
{
    const QString path = AppPaths::workingFile();
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw DalvinoError(cannotCreateText(path, QStringLiteral("削除できません")));
}

QString failedText(const QString &target, int exitCode, const QString &converterMessage)
{
    return QStringLiteral("変換プログラムが \"%1\" を作成できませんでした（終了コード %2）。\r\n%3")
        .arg(target)
        .arg(exitCode)
        .arg(converterMessage.trimmed());
}

QString readLeg(const QString &legPath)
{
    removeWorkingFile();
    const RedirectResult run = RunRedirected(legToXmlCommand(legPath));
    if (!run.succeeded())
        throw DalvinoError(failedText(AppPaths::workingFile(), run.exitCode, run.errorText()));
    return decodeText(readFileBytes(AppPaths::workingFile()));
}

void writeLeg(const QString &legPath, const QString &text)
{
    removeWorkingFile();
    writeText(AppPaths::workingFile(), text);

    // The converter writes beside the target; the result replaces the target in one rename.
    const QFileInfo target(legPath);
    QTemporaryFile converted(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!converted.open())
        throw DalvinoError(cannotCreateText(legPath, converted.errorString()));
    converted.close();
    const QString convertedPath = converted.fileName();

    const RedirectResult run = RunRedirected(xmlToLegCommand(convertedPath));
    if (!run.succeeded() || QFileInfo(convertedPath).size() <= 0) {
        QString message = run.errorText();
        if (run.succeeded() && message.trimmed().isEmpty())
            message = QStringLiteral("変換結果が空です");
        throw DalvinoError(failedText(legPath, run.exitCode, message));
    }
    // A run that ended well may still have left a damaged file (one cut short, say): only
    // a result that converts back replaces the target.
    removeWorkingFile();
    const RedirectResult check = RunRedirected(legToXmlCommand(convertedPath));
    if (!check.succeeded() || QFileInfo(AppPaths::workingFile()).size() <= 0) {
        QString message = check.errorText();
        if (message.trimmed().isEmpty())
            message = QStringLiteral("変換結果を読み戻せません");
        throw DalvinoError(failedText(legPath, check.exitCode, message));
    }

    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (target.exists())
        permissions = QFile::permissions(legPath);
    QFile::setPermissions(convertedPath, permissions);
    if (std::rename(QFile::encodeName(convertedPath).constData(), QFile::encodeName(legPath).constData()) != 0)
        throw DalvinoError(cannotCreateText(legPath, QString::fromLocal8Bit(std::strerror(errno))));
    converted.setAutoRemove(false);
    removeWorkingFile();
}

} // namespace LegConverter
