#include "formats/CsvImport.h"

#include "core/DeviceModel.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"
#include "formats/TextFile.h"

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

Table buildTable(const QStringList &lines, const std::function<void(int)> &progress)
{
    Table table;
    table.fieldCount = lines.isEmpty() ? 0 : fieldCount(lines.first());
    table.rows.reserve(rowCount(lines));
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        table.rows.push_back(splitRow(line, table.fieldCount));
        if (progress)
            progress(static_cast<int>(table.rows.size()));
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
    if (groups.contains(text))
        return text;
    return groups.first();
}

QString toRingTone(const QString &text, int model)
{
    // "A" … "I" and "着信音Ａ" … "着信音Ｉ"; Ｉ is kept although no model rings it.
    static const QString RingPrefix = QStringLiteral("着信音");
    if (text.size() == 1 && text.at(0) >= u'A' && text.at(0) <= u'I')
        return RingPrefix + QChar(text.at(0).unicode() + 0xFEE0);
    if (text.size() == RingPrefix.size() + 1 && text.startsWith(RingPrefix) && text.back() >= QChar(0xFF21) &&
        text.back() <= QChar(0xFF29))
        return text;

    // The melodies: codes "0" … "3" or a name of either vocabulary.
    const QStringList &longTones = Vocabulary::longRingTones();
    const QStringList &shortTones = Vocabulary::shortRingTones();
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
    const int rows = static_cast<int>(table.rows.size());
    for (int r = request.startRow; r <= request.endRow; ++r) {
        const int slot = r - request.startRow;
        if (r < 1 || r > rows || slot >= PhoneBook::EntryCount) {
            outcome.failure = unexpectedFieldText();
            break;
        }
        const QStringList &fields = table.rows[r - 1];
        const auto field = [&fields](int index) { return index >= 0 && index < fields.size(); };
        if ((m.name >= 0 && !field(m.name)) || (m.kana >= 0 && !field(m.kana)) || (m.phone >= 0 && !field(m.phone)) ||
            (m.group >= 0 && !field(m.group)) || (m.ring >= 0 && !field(m.ring)) || (m.memo >= 0 && !field(m.memo))) {
            outcome.failure = unexpectedFieldText();
            break;
        }
        DialEntry &entry = book.entries[slot];
        if (m.name >= 0)
            entry.setField(DialEntry::Name, toName(fields.at(m.name)));
        if (m.kana >= 0)
            entry.setField(DialEntry::Kana, toKana(fields.at(m.kana)));
        if (m.phone >= 0)
            entry.setField(DialEntry::Phone, toPhone(fields.at(m.phone)));
        if (m.group >= 0)
            entry.setField(DialEntry::Group, toGroup(fields.at(m.group)));
        if (m.ring >= 0)
            entry.setField(DialEntry::Ring, toRingTone(fields.at(m.ring), book.Syubetu));
        if (m.memo >= 0)
            entry.setField(DialEntry::Memo, toMemo(fields.at(m.memo)));
        ++outcome.imported;
    }
    return outcome;
}

} // namespace CsvImport
