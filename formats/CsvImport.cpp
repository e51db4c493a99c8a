#include "formats/CsvImport.h"

#include "core/DeviceModel.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"
#include "formats/TextEncoding.h"
#include "formats/TextFile.h"

#include <algorithm>
#include <vector>

namespace CsvImport {

namespace {

const QString SpaceMark = QStringLiteral("[SP]");

} // namespace

QString decode(const QByteArray &bytes)
{
    return decodeAs(bytes, detectEncoding(bytes));
}

QString emptyFileText(const QString &path)
{
    return cannotOpenText(path, QStringLiteral("ファイルが空です。"));
}

int fieldCount(QStringView firstRecord)
{
    return static_cast<int>(CsvText::splitFields(firstRecord, MaxFields).size());
}

QStringList splitRow(QStringView record, int fieldCount)
{
    QStringList fields = CsvText::splitFields(record, fieldCount);
    for (qsizetype i = 1; i < fields.size(); ++i)
        fields[i].remove(SpaceMark);
    fields.resize(fieldCount);
    return fields;
}

QString Table::field(int row, int field) const
{
    if (field < 0 || field >= fieldCount)
        return QString();
    return splitRow(this->row(row), field + 1).at(field);
}

QStringList Table::fields(int row) const
{
    return splitRow(this->row(row), fieldCount);
}

QStringList Table::notices() const
{
    QStringList list;
    if (unclosedRow > 0)
        list << unclosedQuoteText(unclosedRow);
    if (fieldsCut)
        list << fieldsCutText();
    return list;
}

QString unclosedQuoteText(int row)
{
    return QStringLiteral(
               "%1行目の「\"」が閉じられていないため、その行の終わりまでを１つのフィールドとして読み込みました")
        .arg(row);
}

QString fieldsCutText()
{
    return QStringLiteral("1行目のフィールドが%1を超えるため、フィールド%1までを読み込みました").arg(MaxFields);
}

Table buildTable(QString text, const std::function<void(int, int)> &progress)
{
    Table table;
    std::vector<CsvText::Record> records = CsvText::records(text);
    if (!records.empty()) {
        const CsvText::Record &first = records.front();
        const QStringView firstRecord = QStringView(text).sliced(first.start, first.length);
        const auto fields = static_cast<int>(CsvText::splitFields(firstRecord, MaxFields + 1).size());
        table.fieldCount = qMin(fields, MaxFields);
        table.fieldsCut = fields > MaxFields;
    }
    std::erase_if(records, [](const CsvText::Record &record) { return record.length == 0; });
    // Once a quote has run to the end of the text unclosed, every later quote stands in
    // a pair: there is one such row at most.
    const auto unclosed = std::find_if(records.begin(), records.end(), [](const auto &r) { return r.unclosed; });
    if (unclosed != records.end())
        table.unclosedRow = static_cast<int>(unclosed - records.begin()) + 1;
    table.rows = std::move(records);
    table.text = std::move(text);
    if (progress) {
        for (int row = 1; row <= table.rowCount(); ++row)
            progress(row, table.rowCount());
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

namespace {

bool isHiragana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x3096;
}

} // namespace

QString hiraganaToKatakana(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), isHiragana))
        return text;
    QString result = text;
    for (QChar &c : result) {
        if (isHiragana(c))
            c = QChar(c.unicode() + 0x60);
    }
    return result;
}

QString toName(const QString &text)
{
    return ChangeFullSize(text).left(NameMaxLength);
}

QString toKana(const QString &text)
{
    return ChangeHalfSize(hiraganaToKatakana(text)).left(KanaMaxLength);
}

QString toPhone(const QString &text)
{
    QString phone = ChangeHalfSize(text);
    // "ｰ" becomes "-". A number with "(" has its parentheses turned into "-", except that
    // a leading "(" (an area code in parentheses) drops every "(": (03)1234 → 03-1234,
    // 03(1234)5678 → 03-1234-5678.
    phone.replace(QChar(0xFF70), u'-');
    if (phone.startsWith(u'(')) {
        phone.remove(u'(');
        phone.replace(u')', u'-');
    } else if (phone.contains(u'(')) {
        phone.replace(u'(', u'-');
        phone.replace(u')', u'-');
    }
    return phone.left(PhoneMaxLength);
}

QString toMemo(const QString &text)
{
    return ChangeFullSize(text).left(MemoMaxLength);
}

QString toGroup(QStringView text)
{
    const QStringList &groups = Vocabulary::entryGroups();
    if (text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9')
        return groups.at(text.at(0).unicode() - u'0');
    if (text == u"10")
        return Vocabulary::individualGroup();
    // The vocabulary's own text, never the field's.
    if (const qsizetype i = groups.indexOf(text); i >= 0)
        return groups.at(i);
    return groups.first();
}

QString toRingTone(QStringView text, int model)
{
    // "A" … "I" and "着信音Ａ" … "着信音Ｉ"; Ｉ is kept although no model rings it.
    constexpr QStringView RingPrefix = u"着信音";
    const QStringList &longTones = Vocabulary::longRingTones();
    const QStringList &shortTones = Vocabulary::shortRingTones();
    int letter = -1;
    if (text.size() == 1 && text.at(0) >= u'A' && text.at(0) <= u'I')
        letter = text.at(0).unicode() - u'A';
    else if (text.size() == RingPrefix.size() + 1 && text.startsWith(RingPrefix) && text.back() >= QChar(0xFF21) &&
             text.back() <= QChar(0xFF29))
        letter = text.back().unicode() - 0xFF21;
    if (letter >= 0)
        return letter < 8 ? longTones.at(1 + letter) : QStringLiteral("着信音Ｉ");

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
    // A fresh phone book is what New leaves; only what New keeps is taken from current,
    // instead of copying all 4000 entries to reset them.
    Outcome outcome;
    PhoneBook &book = outcome.book;
    book.Syubetu = current.Syubetu;
    book.WriteMode = current.WriteMode;
    book.MACAddress = current.MACAddress;
    book.SyubetuFlag = current.SyubetuFlag;
    const Result result = importInto(book, table, request, reset);
    outcome.imported = result.imported;
    outcome.failure = result.failure;
    book.Modified = true;
    return outcome;
}

namespace {

// The rows of the request that can be imported: those before the first that lies
// outside the table or beyond the last slot.
int importableRows(const Request &request, int tableRows)
{
    if (request.startRow < 1)
        return 0;
    const int last = std::min({request.endRow, tableRows, request.startRow + PhoneBook::EntryCount - 1});
    return std::max(0, last - request.startRow + 1);
}

} // namespace

Result importInto(PhoneBook &book, const Table &table, const Request &request, const std::function<void(int)> &reset)
{
    Result outcome;
    const Mapping &m = request.mapping;
    const auto valid = [&table](int index) { return index < table.fieldCount; };
    if (!valid(m.name) || !valid(m.kana) || !valid(m.phone) || !valid(m.group) || !valid(m.ring) || !valid(m.memo)) {
        outcome.failure = unexpectedFieldText();
        return outcome;
    }
    book.resetSettings();
    book.Modified = true;
    const int count = importableRows(request, table.rowCount());
    if (count < request.endRow - request.startRow + 1)
        outcome.failure = unexpectedFieldText();

    // Fields after the last one mapped are not split out.
    const int fieldsUsed = 1 + std::max({m.name, m.kana, m.phone, m.group, m.ring, m.memo});
    // Each entry is reset (New) just before it is filled, so that each is visited once.
    for (int slot = 0; slot < PhoneBook::EntryCount; ++slot) {
        if (reset)
            reset(slot + 1);
        book.resetEntry(slot);
        if (slot >= count)
            continue;
        const QStringList fields = splitRow(table.row(request.startRow + slot - 1), fieldsUsed);
        DialEntry &entry = book.entries[slot];
        if (m.name >= 0)
            entry.setField(DialEntry::Name, toName(fields[m.name]));
        if (m.kana >= 0)
            entry.setField(DialEntry::Kana, toKana(fields[m.kana]));
        if (m.phone >= 0)
            entry.setField(DialEntry::Phone, toPhone(fields[m.phone]));
        if (m.group >= 0)
            entry.setField(DialEntry::Group, toGroup(fields[m.group]));
        if (m.ring >= 0)
            entry.setField(DialEntry::Ring, toRingTone(fields[m.ring], book.Syubetu));
        if (m.memo >= 0)
            entry.setField(DialEntry::Memo, toMemo(fields[m.memo]));
    }
    outcome.imported = count;
    return outcome;
}

} // namespace CsvImport
