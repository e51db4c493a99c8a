#include "formats/AppPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace AppPaths {

namespace {
QString &overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString executableFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return QCoreApplication::applicationDirPath();
}

void setExecutableFolder(const QString &folder) { overrideFolder() = QDir::cleanPath(folder); }

QString settingsFile() { return executableFolder() + QStringLiteral("/Dalvino.ini"); }
QString workingFolder() { return executableFolder() + QStringLiteral("/temp"); }
QString workingFile() { return workingFolder() + QStringLiteral("/temp.xml"); }
QString workingFileLock() { return workingFile() + QStringLiteral(".lock"); }
QString converter() { return executableFolder() + QStringLiteral("/Quenda.dll"); }
QString dataFolder() { return executableFolder() + QStringLiteral("/data"); }

} // namespace AppPaths
