#include "formats/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppPaths {

namespace {
QString &overrideFolder()
{
    static QString folder;
    return folder;
}

// The user's own folder for one kind of file of an installed copy, e.g. ~/.config/dalvino.
QString userFolder(QStandardPaths::StandardLocation kind)
{
    return QStandardPaths::writableLocation(kind) + QStringLiteral("/dalvino");
}
} // namespace

QString executableFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return QCoreApplication::applicationDirPath();
}

void setExecutableFolder(const QString &folder)
{
    overrideFolder() = QDir::cleanPath(folder);
}

QString installedMarker()
{
    return QStringLiteral("Dalvino.installed");
}

bool isInstalled()
{
    return QFileInfo::exists(executableFolder() + u'/' + installedMarker());
}

QString settingsFile()
{
    const QString folder = isInstalled() ? userFolder(QStandardPaths::GenericConfigLocation) : executableFolder();
    return folder + QStringLiteral("/Dalvino.ini");
}

QString workingFolder()
{
    // The working file is thrown away after each conversion: a cache, not the user's data.
    const QString folder = isInstalled() ? userFolder(QStandardPaths::GenericCacheLocation) : executableFolder();
    return folder + QStringLiteral("/temp");
}

QString workingFile()
{
    return workingFolder() + QStringLiteral("/temp.xml");
}
QString workingFileLock()
{
    return workingFile() + QStringLiteral(".lock");
}
QString converter()
{
    return executableFolder() + QStringLiteral("/Quenda.dll");
}
QString dataFolder()
{
    return executableFolder() + QStringLiteral("/data");
}

} // namespace AppPaths
