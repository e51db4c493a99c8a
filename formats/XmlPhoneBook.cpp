#include "formats/XmlPhoneBook.h"

#include "core/DalvinoError.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"

namespace {

const QString GroupPartEnd = QStringLiteral("<!-- 電話帳設定データ -->");
const QLatin1StringView RecordStart("<r no=\"");

QString element(const QString &tag, const QString &content)
{
    return QStringLiteral("\t\t\t<") + tag + u'>' + content + QStringLiteral("</") + tag + u'>';
}

QString optionalElement(const QString &tag, bool empty, const QString &content)
{
    return empty ? QStringLiteral("\t\t\t<") + tag + QStringLiteral("/>") : element(tag, content);
}

// Whether an entry of group "個別" exceeds the model's extension limit. Models without
// a limit never read the extension.
bool individualOverLimit(const DialEntry &entry, const DeviceModel &model)
{
    if (model.individualMaxExtension < 0 || entry.group() != Vocabulary::individualGroup())
        return false;
    return toIntOrThrow(entry.extension()) > model.individualMaxExtension;
}

QStringList noticesFor(const PhoneBook &book, const DeviceModel &model)
{
    bool found = false;
    if (model.individualMaxExtension >= 0) {
        for (int p = 0; p < model.entriesWritten && p < static_cast<int>(book.entries.size()); ++p) {
            if (individualOverLimit(book.entries[p], model))
                found = true;
        }
    }
    const QString limit = model.limitNoticeText();
    QStringList notices;
    if (found) {
        QString text = QStringLiteral("実装%1以降の個別短縮は出力されません").arg(model.individualMaxExtension);
        if (!limit.isEmpty())
            text += QStringLiteral("\r\nまた、") + limit;
        notices << text;
    } else if (!limit.isEmpty()) {
        notices << limit;
    }
    return notices;
}

void appendGroup(QStringList &lines, int g, const GroupSetting &group, const DeviceModel &model,
                 RingVocabulary recordedVocabulary)
{
    lines << QStringLiteral("\t\t<r no=\"%1\">").arg(g);
    // A ring tone or lamp that is in no list has no code: it is written as the default.
    const int ring = Vocabulary::groupRingCode(group.ring(), recordedVocabulary);
    lines << optionalElement(QStringLiteral("rg"), ring <= 0, QString::number(ring));
    const int lamp = Vocabulary::lampCode(group.lamp());
    lines << optionalElement(QStringLiteral("lp"), lamp <= 0, QString::number(lamp));
    lines << optionalElement(QStringLiteral("kj"), group.name() == Vocabulary::noGroupName(),
                             ChangeFullSize(group.name()));
    if (model.hasFaxAndCallback) {
        lines << element(QStringLiteral("fx"), Vocabulary::flagToXml(group.fax()));
        lines << element(QStringLiteral("cb"), Vocabulary::flagToXml(group.callback()));
    }
    lines << QStringLiteral("\t\t</r>");
}

void appendEntry(QStringList &lines, const DialEntry &entry, const DeviceModel &model)
{
    const QString number = model.slotDigits == 4 ? entry.No : CopyRight(entry.No, model.slotDigits);
    lines << QStringLiteral("\t\t<r no=\"") + number + QStringLiteral("\">");
    lines << element(QStringLiteral("g"), QString::number(Vocabulary::groupCode(entry.group())));
    lines << element(QStringLiteral("st"), Vocabulary::extensionToXml(entry.extension()));
    lines << element(QStringLiteral("d"), ChangeHalfSize(trimControlAndSpace(entry.phone())));
    lines << element(QStringLiteral("kj"), ChangeFullSize(trimControlAndSpace(entry.name())));
    lines << element(QStringLiteral("kn"), ChangeHalfSize(trimControlAndSpace(escapeKana(entry.kana()))));
    lines << element(QStringLiteral("rg"),
                     QString::number(Vocabulary::entryRingCode(entry.ring(), model.ringVocabulary)));
    if (model.hasDestinationAndMemo) {
        lines << element(QStringLiteral("rt"), Vocabulary::destinationToXml(entry.destination()));
        lines << element(QStringLiteral("m"), entry.memo());
    }
    lines << QStringLiteral("\t\t</r>");
}

// The text of an element on a line: it starts after the first start tag, and its length
// is the first end tag's position counted from 1, minus the start tag and four. With
// the writer's three tabs that is exactly the text between the tags.
QString content(const QString &line, QLatin1StringView startTag, QLatin1StringView endTag)
{
    const qsizetype start = line.indexOf(startTag);
    const qsizetype end = line.indexOf(endTag);
    if (start < 0 || end < 0)
        return QString();
    const qsizetype count = end + 1 - startTag.size() - 4;
    if (count <= 0)
        return QString();
    return line.mid(start + startTag.size(), count);
}

QString content(const QString &line, const char *tag)
{
    const QByteArray start = QByteArray("<") + tag + '>';
    const QByteArray end = QByteArray("</") + tag + '>';
    return content(line, QLatin1StringView(start), QLatin1StringView(end));
}

// The model of the SpeedDial line, or -1. "VB150" names both Morvel models: the one kept
// as a .leg file writes the model comment, the other does not.
int modelOfLine(const QString &line, bool legLike)
{
    const QString morvel = deviceModel(ModelMorvel).systemText();
    for (int m = 0; m < DeviceModelCount; ++m) {
        const QString system = deviceModel(m).systemText();
        if (!line.contains(system))
            continue;
        if (system == morvel)
            return legLike ? ModelMorvel2 : ModelMorvel;
        return m;
    }
    return -1;
}

// Reads one group record starting at line i; false when it does not fit the phone book.
bool readGroupRecord(const QStringList &lines, qsizetype i, const DeviceModel &recorded,
                     std::array<GroupSetting, PhoneBook::GroupCount> &buffers)
{
    const qsizetype needed = recorded.hasFaxAndCallback ? 5 : 3;
    const QString &line = lines.at(i);
    const qsizetype at = line.indexOf(RecordStart) + RecordStart.size();
    const int g = toIntOrThrow(line.mid(at, 1));
    if (g < 0 || g >= PhoneBook::GroupCount || i + needed >= lines.size())
        return false;

    GroupSetting read = buffers[g];
    if (lines.at(i + 1).contains(QLatin1StringView("<rg>"))) {
        const auto ring =
            Vocabulary::ringFromCode(toIntOrThrow(content(lines.at(i + 1), "rg")), recorded.ringVocabulary);
        if (!ring)
            return false;
        read.fields[GroupSetting::Ring] = *ring;
    }
    if (lines.at(i + 2).contains(QLatin1StringView("<lp>"))) {
        const auto lamp = Vocabulary::lampFromCode(toIntOrThrow(content(lines.at(i + 2), "lp")));
        if (!lamp)
            return false;
        read.fields[GroupSetting::Lamp] = *lamp;
    }
    if (lines.at(i + 3).contains(QLatin1StringView("<kj>")))
        read.fields[GroupSetting::Name] = content(lines.at(i + 3), "kj");
    buffers[g] = read;

    if (recorded.hasFaxAndCallback) {
        // A record without the flag line resets that flag of every group.
        if (lines.at(i + 4).contains(QLatin1StringView("<fx>"))) {
            buffers[g].fields[GroupSetting::Fax] = Vocabulary::flagFromXml(content(lines.at(i + 4), "fx"));
        } else {
            for (GroupSetting &b : buffers)
                b.fields[GroupSetting::Fax] = Vocabulary::flagOff();
        }
        if (lines.at(i + 5).contains(QLatin1StringView("<cb>"))) {
            buffers[g].fields[GroupSetting::Callback] = Vocabulary::flagFromXml(content(lines.at(i + 5), "cb"));
        } else {
            for (GroupSetting &b : buffers)
                b.fields[GroupSetting::Callback] = Vocabulary::flagOff();
        }
    }
    return true;
}

// Reads one entry record starting at line i into book; false when it does not fit.
bool readEntryRecord(const QStringList &lines, qsizetype i, const DeviceModel &recorded, PhoneBook &book)
{
    const QString &line = lines.at(i);
    const qsizetype at = line.indexOf(RecordStart) + RecordStart.size();
    const qsizetype close = line.indexOf(QLatin1StringView("\">"));
    const int p = toIntOrThrow(close > at ? line.mid(at, close - at) : QString());
    const qsizetype needed = recorded.hasDestinationAndMemo ? 8 : 6;
    if (p < 0 || p >= static_cast<int>(book.entries.size()) || i + needed >= lines.size())
        return false;

    const auto group = Vocabulary::groupFromCode(toIntOrThrow(content(lines.at(i + 1), "g")));
    const auto ring = Vocabulary::ringFromCode(toIntOrThrow(content(lines.at(i + 6), "rg")), recorded.ringVocabulary);
    if (!group || !ring)
        return false;

    DialEntry &entry = book.entries[p];
    entry.fields[DialEntry::Name] = content(lines.at(i + 4), "kj");
    entry.fields[DialEntry::Kana] = unescapeKana(content(lines.at(i + 5), "kn"));
    entry.fields[DialEntry::Phone] = content(lines.at(i + 3), "d");
    entry.fields[DialEntry::Group] = *group;
    entry.fields[DialEntry::Ring] = *ring;
    entry.fields[DialEntry::Extension] = Vocabulary::extensionFromXml(content(lines.at(i + 2), "st"));
    if (recorded.hasDestinationAndMemo) {
        entry.fields[DialEntry::Destination] = Vocabulary::destinationFromXml(content(lines.at(i + 7), "rt"));
        entry.fields[DialEntry::Memo] = content(lines.at(i + 8), "m");
    } else {
        entry.fields[DialEntry::Destination] = Vocabulary::defaultDestination();
        entry.fields[DialEntry::Memo].clear();
    }
    return true;
}

} // namespace

QString escapeKana(const QString &kana)
{
    QString text = kana;
    text.replace(u'&', QStringLiteral("&amp;"));
    text.replace(u'<', QStringLiteral("&lt;"));
    text.replace(u'>', QStringLiteral("&gt;"));
    text.replace(u'\'', QStringLiteral("&apos;"));
    text.replace(u'"', QStringLiteral("&quot;"));
    return text;
}

QString unescapeKana(const QString &kana)
{
    // "&amp;" last, so that "&amp;lt;" reads as "&lt;".
    QString text = kana;
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

XmlPhoneBookText buildXmlPhoneBook(const PhoneBook &book)
{
    const DeviceModel &model = book.model();
    XmlPhoneBookText text;
    text.notices = noticesFor(book, model);

    QStringList &lines = text.lines;
    lines.reserve(30 + 11 * model.entriesWritten);
    if (!model.commentText().isEmpty())
        lines << QStringLiteral("<!-- ") + model.commentText() + u'/' + book.MACAddress + QStringLiteral(" -->");
    lines << QStringLiteral("<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>");
    lines << QStringLiteral("<SpeedDial System=\"") + model.systemText() + QStringLiteral("\" >");
    lines << QStringLiteral("\t<comment>Dalvino 1.40</comment>");
    lines << QStringLiteral("<!-- お客様名(") + book.UserName + QStringLiteral(")－お客様電話番号(") + book.UserNo +
                 QStringLiteral(") -->");
    lines << QStringLiteral("<!-- オールクリアフラグ（0:なし、1:あり） -->");
    lines << (book.WriteMode == 0 ? QStringLiteral("\t<clear>1</clear>") : QStringLiteral("\t<clear>0</clear>"));
    lines << QString();
    lines << QStringLiteral("<!-- グループ設定データ -->");
    lines << QStringLiteral("\t<group>");
    // Group ring tones follow the model of the file last read, not the current one.
    const RingVocabulary recordedVocabulary = deviceModel(book.SyubetuFlag).ringVocabulary;
    for (int g = 0; g < PhoneBook::GroupCount; ++g) {
        if (book.groups[g].isSet())
            appendGroup(lines, g, book.groups[g], model, recordedVocabulary);
    }
    lines << QStringLiteral("\t</group>");
    lines << QString();
    lines << GroupPartEnd;
    lines << QStringLiteral("\t<speed>");
    for (int p = 0; p < model.entriesWritten && p < static_cast<int>(book.entries.size()); ++p) {
        const DialEntry &entry = book.entries[p];
        if (!entry.isRegistered() || individualOverLimit(entry, model))
            continue;
        appendEntry(lines, entry, model);
    }
    lines << QStringLiteral("\t</speed>");
    lines << QStringLiteral("</SpeedDial>");
    return text;
}

QString notPhoneBookText()
{
    return QStringLiteral("Brisantの電話帳データではありません");
}

QString entryCountText(int count)
{
    return QString::number(count) + QStringLiteral("件のデータが登録されています");
}

QString skippedRecordsText(int skipped)
{
    return QStringLiteral("電話帳に収まらないレコード%1件を読み飛ばしました").arg(skipped);
}

QStringList XmlReadOutcome::messages() const
{
    QStringList list;
    if (!accepted)
        return list;
    list << entryCountText(count);
    if (skipped > 0)
        list << skippedRecordsText(skipped);
    return list;
}

XmlReadOutcome readXmlPhoneBook(const QStringList &input, const PhoneBook &current, bool extensionIsLeg)
{
    XmlReadOutcome outcome;
    PhoneBook &book = outcome.book;
    book.Syubetu = current.Syubetu;
    book.SyubetuFlag = current.SyubetuFlag;
    book.MACAddress = current.MACAddress;
    book.WriteMode = current.WriteMode;

    QStringList lines = input;
    if (!lines.isEmpty()) {
        const QString &first = lines.first();
        const qsizetype slash = first.indexOf(u'/');
        if (slash >= 0)
            book.MACAddress = first.mid(slash + 1, 12);
    }
    // A leading model comment is taken off whatever model it names, so that the
    // SpeedDial line is line 1 in every file.
    bool hadModelComment = false;
    if (!lines.isEmpty() && lines.first().startsWith(QLatin1StringView("<!--")) &&
        !lines.first().contains(QLatin1StringView("SpeedDial"))) {
        lines.removeFirst();
        hadModelComment = true;
    }
    if (lines.size() < 2 || !lines.at(1).contains(QLatin1StringView("SpeedDial"))) {
        outcome.rejection = notPhoneBookText();
        return outcome;
    }

    const int fileModel = modelOfLine(lines.at(1), extensionIsLeg || hadModelComment);
    if (fileModel >= 0)
        book.SyubetuFlag = fileModel;
    const DeviceModel &recorded = deviceModel(book.SyubetuFlag);

    if (lines.size() > 3 && lines.at(3).contains(QStringLiteral("お客様名"))) {
        const QString &line = lines.at(3);
        const qsizetype nameEnd = line.indexOf(QStringLiteral(")－"));
        if (nameEnd >= 10) {
            book.UserName = line.mid(10, nameEnd - 10);
            const qsizetype noStart = nameEnd + 10;
            const qsizetype noEnd = line.lastIndexOf(QLatin1StringView(") -->"));
            book.UserNo = noEnd > noStart ? line.mid(noStart, noEnd - noStart) : QString();
        }
    }
    book.WriteMode = lines.size() > 5 && lines.at(5).contains(QLatin1StringView("<clear>1</clear>")) ? 0 : 1;

    std::array<GroupSetting, PhoneBook::GroupCount> buffers = book.groups; // defaults of New
    bool entryPart = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (!entryPart && line.contains(GroupPartEnd))
            entryPart = true;
        if (!line.contains(RecordStart))
            continue;
        if (entryPart) {
            if (readEntryRecord(lines, i, recorded, book))
                ++outcome.count;
            else
                ++outcome.skipped;
        } else if (!readGroupRecord(lines, i, recorded, buffers)) {
            ++outcome.skipped;
        }
    }
    book.groups = buffers;
    book.Modified = false;
    outcome.accepted = true;
    return outcome;
}
