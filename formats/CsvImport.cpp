#include "formats/CsvImport.h"

#include "core/DeviceModel.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"
#include "formats/TextFile.h"

#include <QVarLengthArray>

#include <algorithm>

namespace CsvImport {

namespace {

// Length of a valid UTF-8 sequence at bytes[i], 0 when it is not one (overlong forms,
// surrogates and code points above U+10FFFF are not valid).
int utf8SequenceLength(const unsigned char *bytes, qsizetype i, qsizetype size)
{
    const unsigned char lead = bytes[i];
    int length;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > size)
        return 0;
    if (bytes[i + 1] < low || bytes[i + 1] > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if ((bytes[i + k] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

bool hasByteOrderMark(const QByteArray &bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

const QString SpaceMark = QStringLiteral("[SP]");

// The first count fields of a line, empty views for the missing ones.
void splitViews(const QString &line, int count, QVarLengthArray<QStringView, 16> &views)
{
    const QStringView text(line);
    qsizetype start = 0;
    for (int f = 0; f < count; ++f) {
        if (start > text.size()) {
            views.append(QStringView());
            continue;
        }
        qsizetype comma = text.indexOf(u',', start);
        if (comma < 0)
            comma = text.size();
        views.append(text.mid(start, comma - start));
        start = comma + 1;
    }
}

} // namespace

bool looksLikeUtf8(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    bool multiByte = false;
    for (qsizetype i = 0; i < size;) {
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = utf8SequenceLength(data, i, size);
        if (length == 0)
            return false;
        multiByte = true;
        i += length;
    }
    return multiByte;
}

QString decode(const QByteArray &bytes)
{
    if (!hasByteOrderMark(bytes) && looksLikeUtf8(bytes))
        return QString::fromUtf8(bytes);
    return decodeText(bytes);
}

QString emptyFileText(const QString &path)
{
    return cannotOpenText(path, QStringLiteral("ファイルが空です。"));
}

int fieldCount(const QString &firstLine)
{
    return static_cast<int>(firstLine.count(u',')) + 1;
}

QStringList splitRow(const QString &line, int fieldCount)
{
    QStringList fields;
    fields.reserve(fieldCount);
    qsizetype start = 0;
    while (fields.size() < fieldCount) {
        if (start > line.size()) {
            fields.append(QString());
            continue;
        }
        qsizetype comma = line.indexOf(u',', start);
        if (comma < 0)
            comma = line.size();
        QString field = line.mid(start, comma - start);
        if (!fields.isEmpty() && field.contains(u'['))
            field.remove(SpaceMark);
        fields.append(field);
        start = comma + 1;
    }
    return fields;
}

int rowCount(const QStringList &lines)
{
    int count = 0;
    for (const QString &line : lines) {
        if (!line.isEmpty())
            ++count;
    }
    return count;
}

QString Table::field(int row, int field) const
{
    if (field < 0 || field >= fieldCount)
        return QString();
    const QString &line = rows.at(row);
    qsizetype start = 0;
    for (int f = 0; f < field; ++f) {
        start = line.indexOf(u',', start);
        if (start < 0)
            return QString();
        ++start;
    }
    qsizetype end = line.indexOf(u',', start);
    if (end < 0)
        end = line.size();
    QString text = line.mid(start, end - start);
    if (field > 0 && text.contains(u'['))
        text.remove(SpaceMark);
    return text;
}

Table buildTable(const QStringList &lines, const std::function<void(int)> &progress)
{
    Table table;
    table.fieldCount = lines.isEmpty() ? 0 : fieldCount(lines.first());
    table.rows.reserve(rowCount(lines));
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        table.rows.append(line);
        if (progress)
            progress(table.rowCount());
    }
    return table;
}

int clampStartRow(int row)
{
    return qBound(0, row, MaxStartRow);
}

int clampEndRow(int row)
{
    return qBound(0, row, MaxEndRow);
}

QString rowsNotSetText()
{
    return QStringLiteral("開始行と終了行を設定してください");
}

QString tooManyRowsText()
{
    return QStringLiteral("電話帳は最大4000件までです");
}

QString fieldChoiceText()
{
    return QStringLiteral(
        "最低でも名前・カナ・電話番号いずれか2つのフィールドを指定し、全て別のフィールドにしてください");
}

QString unexpectedFieldText()
{
    return QStringLiteral("予期しないデータ形式のフィールドを発見したので処理を中断します");
}

std::optional<QString> check(const Request &request)
{
    if (request.startRow == 0 || request.endRow == 0)
        return rowsNotSetText();
    if (request.endRow - request.startRow >= PhoneBook::EntryCount)
        return tooManyRowsText();
    // Two selectors with nothing chosen count as the same choice.
    const Mapping &m = request.mapping;
    if (m.name == m.kana || m.name == m.phone || m.kana == m.phone)
        return fieldChoiceText();
    return std::nullopt;
}

QString hiraganaToKatakana(const QString &text)
{
    QString result = text;
    // Only a text that holds hiragana is copied.
    const auto isHiragana = [](QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x3096; };
    const auto first = std::find_if(text.cbegin(), text.cend(), isHiragana);
    if (first == text.cend())
        return result;
    QChar *data = result.data();
    for (qsizetype i = first - text.cbegin(); i < result.size(); ++i) {
        if (isHiragana(data[i]))
            data[i] = QChar(data[i].unicode() + 0x60);
    }
    return result;
}

QString toName(const QString &text)
{
    return CopyLeft(ChangeFullSize(text), NameMaxLength);
}

QString toKana(const QString &text)
{
    return CopyLeft(ChangeHalfSize(hiraganaToKatakana(text)), KanaMaxLength);
}

QString toPhone(const QString &text)
{
    QString phone = ChangeHalfSize(text);
    phone.replace(QChar(0xFF70), u'-');
    if (phone.startsWith(u'(')) {
        phone.remove(u'(');
        phone.replace(u')', u'-');
    } else if (phone.contains(u'(')) {
        phone.replace(u'(', u'-');
        phone.replace(u')', u'-');
    }
    return CopyLeft(phone, PhoneMaxLength);
}

QString toMemo(const QString &text)
{
    return CopyLeft(ChangeFullSize(text), MemoMaxLength);
}

QString toGroup(const QString &text)
{
    const QStringList &groups = Vocabulary::entryGroups();
    if (text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9')
        return groups.at(text.at(0).unicode() - u'0');
    if (text == QLatin1String("10"))
        return Vocabulary::individualGroup();
    // The vocabulary's own text, never the field's: callers may pass a borrowed text.
    if (const qsizetype i = groups.indexOf(text); i >= 0)
        return groups.at(i);
    return groups.first();
}

QString toRingTone(const QString &text, int model)
{
    // "A" … "I" and "着信音Ａ" … "着信音Ｉ"; Ｉ is kept although no model rings it.
    static const QString RingPrefix = QStringLiteral("着信音");
    static const QString RingI = QStringLiteral("着信音Ｉ");
    const QStringList &longTones = Vocabulary::longRingTones();
    const QStringList &shortTones = Vocabulary::shortRingTones();
    int letter = -1;
    if (text.size() == 1 && text.at(0) >= u'A' && text.at(0) <= u'I')
        letter = text.at(0).unicode() - u'A';
    else if (text.size() == RingPrefix.size() + 1 && text.startsWith(RingPrefix) && text.back() >= QChar(0xFF21) &&
             text.back() <= QChar(0xFF29))
        letter = text.back().unicode() - 0xFF21;
    if (letter >= 0)
        return letter < 8 ? longTones.at(1 + letter) : RingI;

    // The melodies: codes "0" … "3" or a name of either vocabulary.
    int melody = -1;
    if (text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'3')
        melody = text.at(0).unicode() - u'0';
    else if (const qsizetype i = longTones.indexOf(text); i >= 9)
        melody = static_cast<int>(i) - 9;
    else if (text == shortTones.at(9))
        melody = 0;
    else if (text == shortTones.at(10))
        melody = 1;
    if (melody < 0)
        return Vocabulary::defaultRingTone();
    if (deviceModel(model).ringVocabulary == RingVocabulary::Short)
        return shortTones.at(melody == 0 ? 9 : 10);
    return longTones.at(9 + melody);
}

Outcome import(const PhoneBook &current, const Table &table, const Request &request,
               const std::function<void(int)> &reset)
{
    Outcome outcome{current, 0, std::nullopt};
    PhoneBook &book = outcome.book;
    book.New(reset);
    book.Modified = true;

    const Mapping &m = request.mapping;
    const int rows = table.rowCount();
    const auto valid = [&table](int index) { return index < table.fieldCount; };
    if (!valid(m.name) || !valid(m.kana) || !valid(m.phone) || !valid(m.group) || !valid(m.ring) || !valid(m.memo)) {
        outcome.failure = unexpectedFieldText();
        return outcome;
    }
    for (int r = request.startRow; r <= request.endRow; ++r) {
        const int slot = r - request.startRow;
        if (r < 1 || r > rows || slot >= PhoneBook::EntryCount) {
            outcome.failure = unexpectedFieldText();
            break;
        }
        // The row is split once. A field without "[SP]" is lent to the conversions without
        // a copy; each conversion returns a text of its own, so nothing stored borrows it.
        const QString &line = table.rows.at(r - 1);
        QVarLengthArray<QStringView, 16> views;
        splitViews(line, table.fieldCount, views);
        const auto field = [&](int index) {
            const QStringView view = views[index];
            if (index > 0 && view.contains(u'[') && view.contains(SpaceMark))
                return view.toString().remove(SpaceMark);
            return QString::fromRawData(view.data(), view.size());
        };
        DialEntry &entry = book.entries[slot];
        if (m.name >= 0)
            entry.setField(DialEntry::Name, toName(field(m.name)));
        if (m.kana >= 0)
            entry.setField(DialEntry::Kana, toKana(field(m.kana)));
        if (m.phone >= 0)
            entry.setField(DialEntry::Phone, toPhone(field(m.phone)));
        if (m.group >= 0)
            entry.setField(DialEntry::Group, toGroup(field(m.group)));
        if (m.ring >= 0)
            entry.setField(DialEntry::Ring, toRingTone(field(m.ring), book.Syubetu));
        if (m.memo >= 0)
            entry.setField(DialEntry::Memo, toMemo(field(m.memo)));
        ++outcome.imported;
    }
    return outcome;
}

} // namespace CsvImport
