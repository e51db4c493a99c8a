#include "FaultFiles.h"

#include <sys/resource.h>

#include "TestPaths.h"
#include "formats/TextFile.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <array>

namespace FaultFiles {

namespace {

QByteArray fixtureBytes(const QString &name)
{
    QFile file(sourceDir() + QStringLiteral("/tests/formats/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

quint32 crc32(const QByteArray &bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<quint8>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendLittleEndian(QByteArray &into, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        into.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

QByteArray legacyHeader()
{
    QStringList fields{QStringLiteral("PQ---R"), QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("0x01")};
    while (fields.size() < 14)
        fields << QStringLiteral("h%1").arg(fields.size() + 1);
    fields << QStringLiteral("4");
    return encodeCp932(fields.join(u',') + QStringLiteral("\r\n"));
}

QByteArray legacyRecord(int i)
{
    return encodeCp932(QStringLiteral("1,01,0,f4,f5,f6,f7,山田%1,ﾔﾏﾀﾞ,03-%1,tail\r\n").arg(i));
}

QByteArray importRow(int i)
{
    return encodeCp932(QStringLiteral("山田%1,やまだ,03-1234-%1,営業,メモ\r\n").arg(i));
}

// The XML sample up to its entry records, and what follows them.
QByteArray xmlHead()
{
    const QByteArray bytes = fixtureBytes(QStringLiteral("filled_LM630Pro.xml"));
    return bytes.left(bytes.indexOf("<speed>") + 9);
}

QByteArray xmlRecord(int i)
{
    return QByteArrayLiteral("\t\t<r no=\"") + QByteArray::number(i).rightJustified(4, '0') +
           QByteArrayLiteral("\">\r\n\t\t\t<g>0</g>\r\n\t\t\t<st>1</st>\r\n\t\t\t<d>0312345678</d>\r\n"
                             "\t\t\t<kj>name</kj>\r\n\t\t\t<kn>kana</kn>\r\n\t\t\t<rg>0</rg>\r\n"
                             "\t\t\t<rt>0</rt>\r\n\t\t\t<m></m>\r\n\t\t</r>\r\n");
}

const QByteArray XmlTail = "\t</speed>\r\n</SpeedDial>\r\n";

QByteArray hugeXml()
{
    QByteArray bytes = xmlHead();
    bytes.reserve(HugeSize + 4096);
    for (int i = 0; bytes.size() < HugeSize; ++i)
        bytes += xmlRecord(i);
    return bytes + XmlTail;
}

template <typename Line> QByteArray grow(QByteArray bytes, Line line)
{
    bytes.reserve(HugeSize + 4096);
    for (int i = 0; bytes.size() < HugeSize; ++i)
        bytes += line(i);
    return bytes;
}

QByteArray asUtf16WithoutMark(const QByteArray &cp932)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return encoder(decodeCp932(cp932));
}

} // namespace

QByteArray phoneBookXml(int records)
{
    QByteArray bytes = xmlHead();
    for (int i = 0; i < records; ++i)
        bytes += xmlRecord(i);
    return bytes + XmlTail;
}

QByteArray legContainer(const QByteArray &xml)
{
    QByteArray bytes("QLEG");
    appendLittleEndian(bytes, 1, 2);
    appendLittleEndian(bytes, 0, 2);
    appendLittleEndian(bytes, static_cast<quint32>(xml.size()), 4);
    appendLittleEndian(bytes, crc32(xml), 4);
    return bytes + xml;
}

QByteArray soundFile(Kind kind)
{
    switch (kind) {
    case Kind::Xml:
        return fixtureBytes(QStringLiteral("filled_LM630Pro.xml"));
    case Kind::Leg:
        return legContainer(fixtureBytes(QStringLiteral("filled_LM630Std.xml")));
    case Kind::LegacyCsv:
        return legacyHeader() + legacyRecord(1) + legacyRecord(2) + legacyRecord(3);
    case Kind::ImportCsv:
        return encodeCp932(QStringLiteral("名前,カナ,電話,グループ,メモ\r\n")) + importRow(1) + importRow(2) +
               importRow(3);
    }
    return QByteArray();
}

QByteArray damaged(Kind kind, Damage damage)
{
    switch (damage) {
    case Damage::Truncated: {
        // Cut inside a line (and inside a character where there is one).
        const QByteArray sound = soundFile(kind);
        return sound.left(sound.size() / 2 + 1);
    }
    case Damage::Binary: {
        QRandomGenerator random(9);
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        return bytes;
    }
    case Damage::Empty:
        return QByteArray();
    case Damage::Huge:
        switch (kind) {
        case Kind::Xml:
            return hugeXml();
        case Kind::Leg:
            return legContainer(hugeXml());
        case Kind::LegacyCsv:
            return grow(legacyHeader(), legacyRecord);
        case Kind::ImportCsv:
            return grow(encodeCp932(QStringLiteral("名前,カナ,電話,グループ,メモ\r\n")), importRow);
        }
        break;
    case Damage::WrongEncoding:
        if (kind == Kind::Leg)
            return legContainer(asUtf16WithoutMark(fixtureBytes(QStringLiteral("filled_LM630Std.xml"))));
        return asUtf16WithoutMark(soundFile(kind));
    }
    return QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString difference(const PhoneBook &a, const PhoneBook &b)
{
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        if (!(a.entries[i] == b.entries[i]))
            return QStringLiteral("entry %1").arg(i);
    }
    for (int i = 0; i < PhoneBook::GroupCount; ++i) {
        if (!(a.groups[i] == b.groups[i]))
            return QStringLiteral("group %1").arg(i);
    }
    const QList<std::pair<const char *, bool>> fields = {
        {"UserName", a.UserName == b.UserName},
        {"UserNo", a.UserNo == b.UserNo},
        {"Syubetu", a.Syubetu == b.Syubetu},
        {"WriteMode", a.WriteMode == b.WriteMode},
        {"FileName", a.FileName == b.FileName},
        {"Modified", a.Modified == b.Modified},
        {"MACAddress", a.MACAddress == b.MACAddress},
        {"SyubetuFlag", a.SyubetuFlag == b.SyubetuFlag},
        {"FLastSortColumn", a.FLastSortColumn == b.FLastSortColumn},
    };
    for (const auto &[name, same] : fields) {
        if (!same)
            return QString::fromLatin1(name);
    }
    return QString();
}

TmpfsMount::TmpfsMount(const QString &folder, int kilobytes) : folder_(folder)
{
    mounted_ = QProcess::execute(QStringLiteral("mount"),
                                 {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                  QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), folder}) == 0;
}

TmpfsMount::~TmpfsMount()
{
    if (mounted_)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder_});
}

bool TmpfsMount::makeReadOnly()
{
    return mounted_ && QProcess::execute(QStringLiteral("mount"),
                                         {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder_}) == 0;
}

bool TmpfsMount::fill()
{
    if (!mounted_)
        return false;
    QFile filler(folder_ + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    // The last page may take a few more bytes.
    while (filler.write("x", 1) == 1) {
    }
    return true;
}

namespace {

qint64 statusKilobytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
constexpr bool Sanitized = __has_feature(address_sanitizer);
#else
constexpr bool Sanitized = false;
#endif

} // namespace

qint64 memoryLimitKilobytes(qint64 fileBytes, qint64 baseKilobytes)
{
    const qint64 limit = 8 * fileBytes / 1024 + baseKilobytes;
    return Sanitized ? limit * 3 / 2 + 256 * 1024 : limit;
}

qint64 timeLimitMilliseconds()
{
    return Sanitized ? 60000 : 20000;
}

qint64 processorMilliseconds()
{
    qint64 total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (const timeval &time : {usage.ru_utime, usage.ru_stime})
            total += qint64(time.tv_sec) * 1000 + time.tv_usec / 1000;
    }
    return total;
}

qint64 peakKilobytes()
{
    return statusKilobytes("VmHWM:");
}
qint64 currentKilobytes()
{
    return statusKilobytes("VmRSS:");
}

bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

bool processGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    // "pid (name) state …": the name may hold spaces and parentheses.
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace FaultFiles
