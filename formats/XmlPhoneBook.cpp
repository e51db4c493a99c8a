#include "formats/XmlPhoneBook.h"

#include "core/DalvinoError.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"
#include "formats/TextEncoding.h"
#include "formats/TextFile.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

const QString GroupPartEnd = QStringLiteral("<!-- 電話帳設定データ -->");
constexpr QLatin1StringView RecordStart("<r no=\"");
constexpr QLatin1StringView LineEnd("\r\n");

// --- Writing ----------------------------------------------------------------------
// The whole text is appended to one string, in as few pieces as the layout allows: a full
// phone book is some 40000 lines.

struct Element {
    QStringView open;  // the indentation and the start tag
    QStringView close; // the end tag and the line end
    QStringView empty; // the whole line of the empty element
};
constexpr Element ElementG{u"\t\t\t<g>", u"</g>\r\n", u"\t\t\t<g/>\r\n"};
constexpr Element ElementSt{u"\t\t\t<st>", u"</st>\r\n", u"\t\t\t<st/>\r\n"};
constexpr Element ElementD{u"\t\t\t<d>", u"</d>\r\n", u"\t\t\t<d/>\r\n"};
constexpr Element ElementKj{u"\t\t\t<kj>", u"</kj>\r\n", u"\t\t\t<kj/>\r\n"};
constexpr Element ElementKn{u"\t\t\t<kn>", u"</kn>\r\n", u"\t\t\t<kn/>\r\n"};
constexpr Element ElementRg{u"\t\t\t<rg>", u"</rg>\r\n", u"\t\t\t<rg/>\r\n"};
constexpr Element ElementLp{u"\t\t\t<lp>", u"</lp>\r\n", u"\t\t\t<lp/>\r\n"};
constexpr Element ElementFx{u"\t\t\t<fx>", u"</fx>\r\n", u"\t\t\t<fx/>\r\n"};
constexpr Element ElementCb{u"\t\t\t<cb>", u"</cb>\r\n", u"\t\t\t<cb/>\r\n"};
constexpr Element ElementRt{u"\t\t\t<rt>", u"</rt>\r\n", u"\t\t\t<rt/>\r\n"};
constexpr Element ElementM{u"\t\t\t<m>", u"</m>\r\n", u"\t\t\t<m/>\r\n"};

void appendNumber(QString &out, int value)
{
    char16_t digits[12];
    int n = 12;
    const bool negative = value < 0;
    unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[--n] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        digits[--n] = u'-';
    out.append(QStringView(digits + n, 12 - n));
}

void appendLine(QString &out, QStringView line)
{
    out.append(line);
    out.append(LineEnd);
}

void appendElement(QString &out, const Element &element, QStringView content)
{
    out.append(element.open);
    out.append(content);
    out.append(element.close);
}

void appendNumberElement(QString &out, const Element &element, int value)
{
    out.append(element.open);
    appendNumber(out, value);
    out.append(element.close);
}

// Whether an entry of group "個別" exceeds the model's extension limit. Models without
// a limit never read the extension.
bool individualOverLimit(const DialEntry &entry, const DeviceModel &model)
{
    if (model.individualMaxExtension < 0 || entry.group() != Vocabulary::individualGroup())
        return false;
    return toIntOrThrow(entry.extension()) > model.individualMaxExtension;
}

// Calls visit for each entry a model's file can hold, in the order they are written, and
// returns how many registered entries lie in slots the model does not hold. A phone
// system of 1000 slots holds slots 0000–0999, written in slot order wherever a sort has
// put them in the list; the others hold every slot, written in list order, each record
// with its own slot number.
template <typename Visit> int walkEntries(const PhoneBook &book, const DeviceModel &model, Visit visit)
{
    if (model.entriesWritten >= static_cast<int>(book.entries.size())) {
        for (const DialEntry &entry : book.entries)
            visit(entry);
        return 0;
    }
    std::vector<const DialEntry *> bySlot(static_cast<size_t>(model.entriesWritten), nullptr);
    int beyond = 0;
    for (const DialEntry &entry : book.entries) {
        bool ok = false;
        const int slot = entry.No.toInt(&ok);
        if (ok && slot >= 0 && slot < model.entriesWritten)
            bySlot[static_cast<size_t>(slot)] = &entry;
        else if (entry.isRegistered())
            ++beyond;
    }
    for (const DialEntry *entry : bySlot) {
        if (entry)
            visit(*entry);
    }
    return beyond;
}

QStringList noticesFor(const PhoneBook &book, const DeviceModel &model)
{
    bool found = false;
    const int beyond = walkEntries(book, model, [&](const DialEntry &entry) {
        if (individualOverLimit(entry, model))
            found = true;
    });
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
    if (beyond > 0)
        notices << QStringLiteral("短縮番号%1以降の%2件は出力されません")
                       .arg(PhoneBook::slotNumber(model.entriesWritten))
                       .arg(beyond);
    return notices;
}

void appendGroup(QString &out, int g, const GroupSetting &group, const DeviceModel &model,
                 RingVocabulary recordedVocabulary)
{
    out.append(u"\t\t<r no=\"");
    appendNumber(out, g);
    out.append(u"\">\r\n");
    // A ring tone or lamp that is in no list has no code: it is written as the default.
    const int ring = Vocabulary::groupRingCode(group.ring(), recordedVocabulary);
    if (ring <= 0)
        out.append(ElementRg.empty);
    else
        appendNumberElement(out, ElementRg, ring);
    const int lamp = Vocabulary::lampCode(group.lamp());
    if (lamp <= 0)
        out.append(ElementLp.empty);
    else
        appendNumberElement(out, ElementLp, lamp);
    if (group.name() == Vocabulary::noGroupName())
        out.append(ElementKj.empty);
    else
        appendElement(out, ElementKj, ChangeFullSize(group.name()));
    if (model.hasFaxAndCallback) {
        appendElement(out, ElementFx, Vocabulary::flagToXml(group.fax()));
        appendElement(out, ElementCb, Vocabulary::flagToXml(group.callback()));
    }
    appendLine(out, u"\t\t</r>");
}

// The width conversions leave text that is already of the width unchanged; most fields
// are, and skipping the conversion saves a copy of each.
QString halfWidth(const QString &text)
{
    return IsHalfString(text) ? text : ChangeHalfSize(text);
}
QString fullWidth(const QString &text)
{
    return IsFullString(text) ? text : ChangeFullSize(text);
}

QString escapedKana(const QString &kana)
{
    for (const QChar c : kana) {
        if (c == u'&' || c == u'<' || c == u'>' || c == u'\'' || c == u'"')
            return escapeKana(kana);
    }
    return kana;
}

void appendEntry(QString &out, const DialEntry &entry, const DeviceModel &model)
{
    out.append(u"\t\t<r no=\"");
    out.append(model.slotDigits == 4 ? QStringView(entry.No) : QStringView(entry.No).right(model.slotDigits));
    out.append(u"\">\r\n");
    appendNumberElement(out, ElementG, Vocabulary::groupCode(entry.group()));
    appendElement(out, ElementSt, Vocabulary::extensionToXml(entry.extension()));
    appendElement(out, ElementD, halfWidth(trimControlAndSpace(entry.phone())));
    appendElement(out, ElementKj, fullWidth(trimControlAndSpace(entry.name())));
    appendElement(out, ElementKn, halfWidth(trimControlAndSpace(escapedKana(entry.kana()))));
    appendNumberElement(out, ElementRg, Vocabulary::entryRingCode(entry.ring(), model.ringVocabulary));
    if (model.hasDestinationAndMemo) {
        appendElement(out, ElementRt, Vocabulary::destinationToXml(entry.destination()));
        appendElement(out, ElementM, entry.memo());
    }
    appendLine(out, u"\t\t</r>");
}

// The notice about characters code page 932 lacks, found in the text as it will be
// written: the entry records name their slots, the lines before them are the customer
// and the groups.
std::optional<QString> lossNotice(const QString &text)
{
    if (fitsCp932(text))
        return std::nullopt;
    Cp932Losses losses;
    bool entryPart = false;
    QStringView slot;
    for (const LineSpan &span : lineSpans(text)) {
        const QStringView line = QStringView(text).sliced(span.start, span.length);
        entryPart = entryPart || line == GroupPartEnd;
        if (!entryPart) {
            losses.checkOther(line);
        } else if (line.startsWith(QLatin1StringView("\t\t<r no=\""))) {
            slot = line.sliced(9, line.size() - 11); // between the quotes
        } else {
            // Three-digit record numbers are slots 0000–0999.
            losses.checkEntry(slot.size() == 3 ? QLatin1Char('0') + slot.toString() : slot.toString(), line);
        }
    }
    return losses.notice();
}

// --- Reading ----------------------------------------------------------------------

using Lines = std::vector<QStringView>;

struct Tag {
    QLatin1StringView start;
    QLatin1StringView end;
};
constexpr Tag TagG{QLatin1StringView("<g>"), QLatin1StringView("</g>")};
constexpr Tag TagSt{QLatin1StringView("<st>"), QLatin1StringView("</st>")};
constexpr Tag TagD{QLatin1StringView("<d>"), QLatin1StringView("</d>")};
constexpr Tag TagKj{QLatin1StringView("<kj>"), QLatin1StringView("</kj>")};
constexpr Tag TagKn{QLatin1StringView("<kn>"), QLatin1StringView("</kn>")};
constexpr Tag TagRg{QLatin1StringView("<rg>"), QLatin1StringView("</rg>")};
constexpr Tag TagLp{QLatin1StringView("<lp>"), QLatin1StringView("</lp>")};
constexpr Tag TagFx{QLatin1StringView("<fx>"), QLatin1StringView("</fx>")};
constexpr Tag TagCb{QLatin1StringView("<cb>"), QLatin1StringView("</cb>")};
constexpr Tag TagRt{QLatin1StringView("<rt>"), QLatin1StringView("</rt>")};
constexpr Tag TagM{QLatin1StringView("<m>"), QLatin1StringView("</m>")};

// The text of an element on a line: it starts after the first start tag, and its length
// is the first end tag's position counted from 1, minus the start tag and four. With
// the writer's three tabs that is exactly the text between the tags.
QStringView content(QStringView line, const Tag &tag)
{
    const qsizetype start = line.indexOf(tag.start);
    const qsizetype end = line.indexOf(tag.end);
    if (start < 0 || end < 0)
        return QStringView();
    const qsizetype from = start + tag.start.size();
    const qsizetype count = qMin(end + 1 - tag.start.size() - 4, line.size() - from);
    if (count <= 0)
        return QStringView();
    return line.mid(from, count);
}

// A decimal number as the files hold it; the conversion error otherwise.
int number(QStringView text)
{
    if (text.size() > 0 && text.size() <= 9) {
        int value = 0;
        qsizetype i = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            value = value * 10 + (text[i++].unicode() - u'0');
        if (i == text.size())
            return value;
    }
    return toIntOrThrow(text.toString());
}

// The model of the SpeedDial line, or -1. A line that names several models takes the
// first of this order. "VB150" names both Morvel models: the one kept as a .leg file
// writes the model comment, the other does not.
int modelOfLine(QStringView line, bool legLike)
{
    constexpr int order[] = {ModelZR410Std, ModelZR410Pro, ModelKN820Std, ModelKN820Pro,
                             ModelMorvel,   ModelLM630Std, ModelLM630Pro};
    for (const int m : order) {
        if (!line.contains(deviceModel(m).systemText()))
            continue;
        if (m == ModelMorvel)
            return legLike ? ModelMorvel2 : ModelMorvel;
        return m;
    }
    return -1;
}

// Reads one group record starting at line i; false when it does not fit the phone book.
bool readGroupRecord(const Lines &lines, size_t i, const DeviceModel &recorded,
                     std::array<GroupSetting, PhoneBook::GroupCount> &buffers)
{
    const size_t needed = recorded.hasFaxAndCallback ? 5 : 3;
    const QStringView line = lines.at(i);
    const qsizetype at = line.indexOf(RecordStart) + RecordStart.size();
    const int g = number(line.mid(at, qMin<qsizetype>(1, line.size() - at)));
    if (g < 0 || g >= PhoneBook::GroupCount || i + needed >= lines.size())
        return false;

    GroupSetting read = buffers[g];
    if (lines.at(i + 1).contains(TagRg.start)) {
        const auto ring = Vocabulary::ringFromCode(number(content(lines.at(i + 1), TagRg)), recorded.ringVocabulary);
        if (!ring)
            return false;
        read.fields[GroupSetting::Ring] = *ring;
    }
    if (lines.at(i + 2).contains(TagLp.start)) {
        const auto lamp = Vocabulary::lampFromCode(number(content(lines.at(i + 2), TagLp)));
        if (!lamp)
            return false;
        read.fields[GroupSetting::Lamp] = *lamp;
    }
    if (lines.at(i + 3).contains(TagKj.start))
        read.fields[GroupSetting::Name] = content(lines.at(i + 3), TagKj).toString();
    buffers[g] = read;

    if (recorded.hasFaxAndCallback) {
        // A record without the flag line resets that flag of every group.
        if (lines.at(i + 4).contains(TagFx.start)) {
            buffers[g].fields[GroupSetting::Fax] = Vocabulary::flagFromXml(content(lines.at(i + 4), TagFx).toString());
        } else {
            for (GroupSetting &b : buffers)
                b.fields[GroupSetting::Fax] = Vocabulary::flagOff();
        }
        if (lines.at(i + 5).contains(TagCb.start)) {
            buffers[g].fields[GroupSetting::Callback] =
                Vocabulary::flagFromXml(content(lines.at(i + 5), TagCb).toString());
        } else {
            for (GroupSetting &b : buffers)
                b.fields[GroupSetting::Callback] = Vocabulary::flagOff();
        }
    }
    return true;
}

// The destination of a file code. The texts of the vocabulary are shared rather than
// copied: a full phone book has 4000 of them.
QString destinationOf(QStringView value)
{
    static const QStringList groupCodes = [] {
        QStringList codes;
        for (const QString &group : Vocabulary::destinationGroups())
            codes << Vocabulary::destinationToXml(group);
        return codes;
    }();
    if (value.size() == 1 && value == Vocabulary::defaultDestination())
        return Vocabulary::defaultDestination();
    for (qsizetype i = 0; i < groupCodes.size(); ++i) {
        if (value.size() == groupCodes.at(i).size() && value == groupCodes.at(i))
            return Vocabulary::destinationGroups().at(i);
    }
    return Vocabulary::destinationFromXml(value.toString());
}

// "5" and "05" both name the stored "05".
QString extensionOf(QStringView value)
{
    const QStringList &extensions = Vocabulary::extensions();
    const bool digits = (value.size() == 1 || value.size() == 2) &&
                        std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digits) {
        const int n = number(value);
        if (n < extensions.size() && (value.size() == 1 || extensions.at(n) == value))
            return extensions.at(n);
    }
    return Vocabulary::extensionFromXml(value.toString());
}

// Reads one entry record starting at line i into book; false when it does not fit.
bool readEntryRecord(const Lines &lines, size_t i, const DeviceModel &recorded, PhoneBook &book)
{
    const QStringView line = lines.at(i);
    const qsizetype at = line.indexOf(RecordStart) + RecordStart.size();
    const qsizetype close = line.indexOf(QLatin1StringView("\">"));
    const int p = number(close > at ? line.mid(at, close - at) : QStringView());
    const size_t needed = recorded.hasDestinationAndMemo ? 8 : 6;
    if (p < 0 || p >= static_cast<int>(book.entries.size()) || i + needed >= lines.size())
        return false;

    const auto group = Vocabulary::groupFromCode(number(content(lines.at(i + 1), TagG)));
    const auto ring = Vocabulary::ringFromCode(number(content(lines.at(i + 6), TagRg)), recorded.ringVocabulary);
    if (!group || !ring)
        return false;

    DialEntry &entry = book.entries[p];
    entry.fields[DialEntry::Name] = content(lines.at(i + 4), TagKj).toString();
    entry.fields[DialEntry::Kana] = unescapeKana(content(lines.at(i + 5), TagKn));
    entry.fields[DialEntry::Phone] = content(lines.at(i + 3), TagD).toString();
    entry.fields[DialEntry::Group] = *group;
    entry.fields[DialEntry::Ring] = *ring;
    entry.fields[DialEntry::Extension] = extensionOf(content(lines.at(i + 2), TagSt));
    if (recorded.hasDestinationAndMemo) {
        entry.fields[DialEntry::Destination] = destinationOf(content(lines.at(i + 7), TagRt));
        entry.fields[DialEntry::Memo] = content(lines.at(i + 8), TagM).toString();
    } else {
        entry.fields[DialEntry::Destination] = Vocabulary::defaultDestination();
        entry.fields[DialEntry::Memo] = QString();
    }
    return true;
}

// The lines of the text as places in it, without copying them.
Lines splitViews(const QString &text)
{
    const std::vector<LineSpan> spans = lineSpans(text);
    Lines views;
    views.reserve(spans.size());
    for (const LineSpan &span : spans)
        views.push_back(QStringView(text).sliced(span.start, span.length));
    return views;
}

// The first line from 0 that contains needle; lines.size() when there is none.
size_t firstLineContaining(const Lines &lines, QStringView needle)
{
    const auto found =
        std::find_if(lines.begin(), lines.end(), [&](QStringView line) { return line.contains(needle); });
    return static_cast<size_t>(found - lines.begin());
}

XmlReadOutcome readText(const QString &text, const PhoneBook &current, bool extensionIsLeg)
{
    Lines lines = splitViews(text);
    XmlReadOutcome outcome;
    PhoneBook &book = outcome.book;
    book.Syubetu = current.Syubetu;
    book.SyubetuFlag = current.SyubetuFlag;
    book.MACAddress = current.MACAddress;
    book.WriteMode = current.WriteMode;

    if (!lines.empty()) {
        const QStringView first = lines.front();
        const qsizetype slash = first.indexOf(u'/');
        if (slash >= 0)
            book.MACAddress = first.mid(slash + 1, qMin<qsizetype>(12, first.size() - slash - 1)).toString();
    }
    // A leading model comment is taken off whatever model it names, so that the
    // SpeedDial line is line 1 in every file.
    bool hadModelComment = false;
    if (!lines.empty() && lines.front().startsWith(QLatin1StringView("<!--")) &&
        !lines.front().contains(QLatin1StringView("SpeedDial"))) {
        lines.erase(lines.begin());
        hadModelComment = true;
    }
    if (lines.size() < 2 || !lines.at(1).contains(QLatin1StringView("SpeedDial"))) {
        outcome.rejection = notPhoneBookText();
        return outcome;
    }
    // A file cut short (a disk that filled, a copy that stopped) lacks its closing line;
    // its records would replace the document with part of a phone book.
    if (QStringView(text).lastIndexOf(QLatin1StringView("</SpeedDial>")) < lines.at(1).data() - text.constData()) {
        outcome.rejection = incompleteText();
        return outcome;
    }

    const int fileModel = modelOfLine(lines.at(1), extensionIsLeg || hadModelComment);
    if (fileModel >= 0)
        book.SyubetuFlag = fileModel;
    const DeviceModel &recorded = deviceModel(book.SyubetuFlag);

    if (lines.size() > 3 && lines.at(3).contains(QStringLiteral("お客様名"))) {
        const QStringView line = lines.at(3);
        const qsizetype nameEnd = line.indexOf(QStringLiteral(")－"));
        if (nameEnd >= 10) {
            book.UserName = line.mid(10, nameEnd - 10).toString();
            const qsizetype noStart = nameEnd + 10;
            const qsizetype noEnd = line.lastIndexOf(QLatin1StringView(") -->"));
            book.UserNo = noEnd > noStart ? line.mid(noStart, noEnd - noStart).toString() : QString();
        }
    }
    book.WriteMode = lines.size() > 5 && lines.at(5).contains(QLatin1StringView("<clear>1</clear>")) ? 0 : 1;

    std::array<GroupSetting, PhoneBook::GroupCount> buffers = book.groups; // defaults of New
    const size_t entryPart = firstLineContaining(lines, GroupPartEnd);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].contains(RecordStart))
            continue;
        if (i >= entryPart) {
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

} // namespace

QStringList XmlPhoneBookText::lines() const
{
    return splitLines(text);
}

QString escapeKana(const QString &kana)
{
    // One pass gives what the replacements "&", "<", ">", "'", '"' in this order give:
    // no replacement text holds a character that a later one replaces, except the "&"
    // of the entities, which is replaced first.
    QString text;
    text.reserve(kana.size() + 8);
    for (const QChar c : kana) {
        switch (c.unicode()) {
        case u'&':
            text += QLatin1StringView("&amp;");
            break;
        case u'<':
            text += QLatin1StringView("&lt;");
            break;
        case u'>':
            text += QLatin1StringView("&gt;");
            break;
        case u'\'':
            text += QLatin1StringView("&apos;");
            break;
        case u'"':
            text += QLatin1StringView("&quot;");
            break;
        default:
            text += c;
        }
    }
    return text;
}

QString unescapeKana(QStringView kana)
{
    // Replaced in this order, the entities read as in one pass from the left: each begins
    // with "&", ends with ";" and holds neither inside, and no replacement makes one. So
    // "&amp;lt;" reads as "&lt;", since "&amp;" is replaced last.
    QString text = kana.toString();
    if (text.contains(u'&')) {
        text.replace(QLatin1StringView("&lt;"), QLatin1StringView("<"))
            .replace(QLatin1StringView("&gt;"), QLatin1StringView(">"))
            .replace(QLatin1StringView("&apos;"), QLatin1StringView("'"))
            .replace(QLatin1StringView("&quot;"), QLatin1StringView("\""))
            .replace(QLatin1StringView("&amp;"), QLatin1StringView("&"));
    }
    return text;
}

XmlPhoneBookText buildXmlPhoneBook(const PhoneBook &book)
{
    const DeviceModel &model = book.model();
    XmlPhoneBookText result;
    result.notices = noticesFor(book, model);

    QString &out = result.text;
    out.reserve(2048 + 240 * model.entriesWritten);
    if (!model.commentText().isEmpty()) {
        out.append(QLatin1StringView("<!-- "));
        out.append(model.commentText());
        out.append(u'/');
        out.append(book.MACAddress);
        out.append(QLatin1StringView(" -->"));
        out.append(LineEnd);
    }
    appendLine(out, u"<?xml version=\"1.0\" encoding=\"Shift-JIS\" ?>");
    out.append(QLatin1StringView("<SpeedDial System=\""));
    out.append(model.systemText());
    out.append(QLatin1StringView("\" >"));
    out.append(LineEnd);
    appendLine(out, u"\t<comment>Dalvino 1.40</comment>");
    out.append(QStringLiteral("<!-- お客様名("));
    out.append(book.UserName);
    out.append(QStringLiteral(")－お客様電話番号("));
    out.append(book.UserNo);
    out.append(QLatin1StringView(") -->"));
    out.append(LineEnd);
    appendLine(out, u"<!-- オールクリアフラグ（0:なし、1:あり） -->");
    appendLine(out, book.WriteMode == 0 ? u"\t<clear>1</clear>" : u"\t<clear>0</clear>");
    out.append(LineEnd);
    appendLine(out, u"<!-- グループ設定データ -->");
    appendLine(out, u"\t<group>");
    // Group ring tones follow the model of the file last read, not the current one.
    const RingVocabulary recordedVocabulary = deviceModel(book.SyubetuFlag).ringVocabulary;
    for (int g = 0; g < PhoneBook::GroupCount; ++g) {
        if (book.groups[g].isSet())
            appendGroup(out, g, book.groups[g], model, recordedVocabulary);
    }
    appendLine(out, u"\t</group>");
    out.append(LineEnd);
    appendLine(out, GroupPartEnd);
    appendLine(out, u"\t<speed>");
    walkEntries(book, model, [&](const DialEntry &entry) {
        if (entry.isRegistered() && !individualOverLimit(entry, model))
            appendEntry(out, entry, model);
    });
    appendLine(out, u"\t</speed>");
    appendLine(out, u"</SpeedDial>");
    if (const std::optional<QString> lost = lossNotice(out))
        result.notices << *lost;
    return result;
}

QString notPhoneBookText()
{
    return QStringLiteral("Brisantの電話帳データではありません");
}

QString incompleteText()
{
    return QStringLiteral("電話帳データが途中で切れています");
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

QString decodePhoneBookFile(const QByteArray &bytes)
{
    // Read as code page 932, a UTF-8 file loses the comment that starts the entries and
    // would open as a book without entries. A damaged byte keeps detectEncoding from
    // seeing UTF-8, but not the comment from being found in it.
    TextEncoding encoding = detectEncoding(bytes);
    if (encoding == TextEncoding::Cp932 && !bytes.contains(encodeCp932(GroupPartEnd)) &&
        bytes.contains(GroupPartEnd.toUtf8()))
        encoding = TextEncoding::Utf8;
    return decodeAs(bytes, encoding);
}

XmlReadOutcome readXmlPhoneBook(const QStringList &lines, const PhoneBook &current, bool extensionIsLeg)
{
    QString text;
    for (const QString &line : lines)
        text += line + u'\n';
    return readText(text, current, extensionIsLeg);
}

XmlReadOutcome readXmlPhoneBookText(const QString &text, const PhoneBook &current, bool extensionIsLeg)
{
    return readText(text, current, extensionIsLeg);
}
