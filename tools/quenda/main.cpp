// Quenda.dll, the stand-in converter between .leg files and the XML phone book.
//   Quenda.dll SOURCE.leg TARGET.xml      .leg to XML
//   Quenda.dll -e SOURCE.xml TARGET.leg   XML to .leg
// On any failure it says why on standard error, exits non-zero and writes nothing.
#include "LegContainer.h"
#include "formats/DurableFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ExitUsage = 1;
constexpr int ExitUnreadable = 2;
constexpr int ExitBadInput = 3;
constexpr int ExitUnwritable = 4;

int fail(int status, const QString &text)
{
    std::fprintf(stderr, "Quenda: %s\n", text.toLocal8Bit().constData());
    return status;
}

bool readAll(const QString &path, QByteArray &bytes, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFile::NoError) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// The system's text for an error number.
QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes through a temporary file beside the target (under a short name, so that a target
// whose name is as long as a name can be still has one) that replaces it only when every
// byte is on disk.
int writeAll(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = QFile::encodeName(QFileInfo(path).absolutePath() + QStringLiteral("/.quendaXXXXXX"));
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return fail(ExitUnwritable, QStringLiteral("cannot write %1: %2").arg(path, reason(errno)));
    int error = DurableFile::writeAll(descriptor, bytes);
    if (error == 0 && ::fchmod(descriptor, DurableFile::permissionsFor(target)) != 0)
        error = errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return fail(ExitUnwritable, QStringLiteral("cannot write %1: %2").arg(path, reason(error)));
    }
    return 0;
}

// The XML must at least be a phone book: its SpeedDial line comes within the first lines.
bool looksLikePhoneBook(const QByteArray &xml)
{
    return xml.left(4096).contains("<SpeedDial ");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const bool encode = !arguments.isEmpty() && arguments.first() == QStringLiteral("-e");
    if (encode)
        arguments.removeFirst();
    if (arguments.size() != 2)
        return fail(ExitUsage,
                    QStringLiteral("usage: Quenda.dll SOURCE.leg TARGET.xml | Quenda.dll -e SOURCE.xml TARGET.leg"));
    const QString &source = arguments.at(0);
    const QString &target = arguments.at(1);

    QByteArray input;
    QString error;
    if (!readAll(source, input, error))
        return fail(ExitUnreadable, error);

    if (encode) {
        if (!looksLikePhoneBook(input))
            return fail(ExitBadInput, QStringLiteral("%1 is not an XML phone book").arg(source));
        return writeAll(target, LegContainer::pack(input));
    }
    const std::optional<QByteArray> xml = LegContainer::unpack(input, error);
    if (!xml)
        return fail(ExitBadInput, QStringLiteral("%1: %2").arg(source, error));
    return writeAll(target, *xml);
}
