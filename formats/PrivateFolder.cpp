#include "formats/PrivateFolder.h"

#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Debian gives each user a primary group of the user's own name, and with it a umask
// that lets that group write: such a folder is still the user's alone.
bool isOwnGroup(gid_t gid)
{
    const passwd *user = ::getpwuid(::geteuid());
    const group *owners = ::getgrgid(gid);
    return user && owners && gid == user->pw_gid && qstrcmp(user->pw_name, owners->gr_name) == 0;
}

} // namespace

QString privateFolderProblem(const QString &folder)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
        return QString();
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("シンボリックリンクです");
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("フォルダーではありません");
    if (info.st_uid != ::geteuid() && info.st_uid != 0)
        return QStringLiteral("他のユーザー (UID %1) のフォルダーです").arg(info.st_uid);
    if ((info.st_mode & S_IWOTH) || ((info.st_mode & S_IWGRP) && !isOwnGroup(info.st_gid)))
        return QStringLiteral("他のユーザーも書き込めます");
    return QString();
}

QString privateFolderRefusalText(const QString &what, const QString &folder, const QString &problem)
{
    return QStringLiteral("%1 \"%2\" "
                          "は使用できません（%"
                          "3）。シンボリックリンクでない、このユーザーだけが書き込めるフォルダーにしてください。")
        .arg(what, folder, problem);
}
