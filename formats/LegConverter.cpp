#include "formats/LegConverter.h"

#include "core/DalvinoError.h"
#include "formats/AppPaths.h"
#include "formats/ConsoleReDirect.h"
#include "formats/DurableFile.h"
#include "formats/TextFile.h"
#include "formats/WorkingFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace LegConverter {

namespace {

RedirectResult runConverter(const QStringList &command, const WorkingFile::Hold &hold)
{
    return RunRedirected(command, QByteArray(), RunTimeLimitMs, hold.descriptor());
}

// The file a path names once every link on the way is followed; the path itself when it
// is no link. Like the program's other files, a .leg target that is a link is written
// through it.
QString throughLinks(const QString &path)
{
    QFileInfo file(path);
    for (int depth = 0; depth < 40 && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return file.filePath();
}

} // namespace

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
    const WorkingFile::Hold hold;
    WorkingFile::remove();
}

QString failedText(const QString &target, int exitCode, const QString &converterMessage)
{
    return QStringLiteral("変換プログラムが \"%1\" を作成できませんでした（終了コード %2）。\r\n%3")
        .arg(target, QString::number(exitCode), converterMessage.trimmed());
}

QString differenceText(const QString &target, const QByteArray &written, const QByteArray &readBack)
{
    const qsizetype at =
        std::mismatch(written.begin(), written.end(), readBack.begin(), readBack.end()).first - written.begin();
    const qsizetype line = written.left(at).count('\n') + 1;
    return QStringLiteral("変換プログラムが作成した \"%1\" は保存する電話帳と一致しないため、保存しませんでした。\r\n"
                          "読み戻した内容が %2 行目（%3 バイト目）から異なります"
                          "（保存する電話帳 %4 バイト、読み戻した内容 %5 バイト）。")
        .arg(target, QString::number(line), QString::number(at + 1), QString::number(written.size()),
             QString::number(readBack.size()));
}

QString readLeg(const QString &legPath)
{
    const WorkingFile::Hold hold;
    WorkingFile::remove();
    const RedirectResult run = runConverter(legToXmlCommand(legPath), hold);
    if (!run.succeeded())
        throw DalvinoError(failedText(AppPaths::workingFile(), run.exitCode, run.errorText()));
    QString text = decodeText(WorkingFile::read());
    WorkingFile::remove();
    return text;
}

void writeLeg(const QString &legPath, const QString &text)
{
    const QByteArray xml = encodeCp932(text);
    const WorkingFile::Hold hold;
    WorkingFile::write(xml);

    // The converter writes beside the target under a short name of our own (the target's
    // name may be as long as a name can be); the result replaces the target in one rename.
    const QString target = throughLinks(legPath);
    QTemporaryFile converted(QFileInfo(target).absolutePath() + QStringLiteral("/.dalvinoXXXXXX.leg"));
    if (!converted.open())
        throw DalvinoError(cannotCreateText(legPath, converted.errorString()));
    converted.close();
    const QString convertedPath = converted.fileName();

    const RedirectResult run = runConverter(xmlToLegCommand(convertedPath), hold);
    if (!run.succeeded() || QFileInfo(convertedPath).size() <= 0) {
        QString message = run.errorText();
        if (run.succeeded() && message.trimmed().isEmpty())
            message = QStringLiteral("変換結果が空です");
        throw DalvinoError(failedText(legPath, run.exitCode, message));
    }
    // A run that ended well may still have left a damaged file (one cut short, say): only
    // a result that converts back to exactly the phone book written replaces the target.
    WorkingFile::remove();
    const RedirectResult check = runConverter(legToXmlCommand(convertedPath), hold);
    if (!check.succeeded() || QFileInfo(AppPaths::workingFile()).size() <= 0) {
        QString message = check.errorText();
        if (message.trimmed().isEmpty())
            message = QStringLiteral("変換結果を読み戻せません");
        throw DalvinoError(failedText(legPath, check.exitCode, message));
    }
    const QByteArray readBack = WorkingFile::read();
    if (readBack != xml)
        throw DalvinoError(differenceText(legPath, xml, readBack));

    const QByteArray convertedName = QFile::encodeName(convertedPath);
    if (const int error = DurableFile::sync(convertedName))
        throw DalvinoError(cannotCreateText(legPath, systemReason(error)));
    ::chmod(convertedName.constData(), DurableFile::permissionsFor(QFile::encodeName(target)));
    if (std::rename(convertedName.constData(), QFile::encodeName(target).constData()) != 0)
        throw DalvinoError(cannotCreateText(legPath, systemReason(errno)));
    converted.setAutoRemove(false);
    WorkingFile::remove();
}

} // namespace LegConverter
