#include "formats/CsvImport.h"

#include "core/DeviceModel.h"
#include "core/TextBlock.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"
#include "formats/TextEncoding.h"
#include "formats/TextFile.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
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
    return CsvText::fieldCount(firstRecord, firstRecord.contains(u'"'), MaxFields);
}

QStringList splitRow(QStringView record, int fieldCount)
{
    CsvText::FieldSplitter splitter;
    QStringList fields;
    fields.reserve(fieldCount);
    for (const QStringView view : splitter.split(record, record.contains(u'"'), fieldCount)) {
        QString field = view.toString();
        if (!fields.isEmpty() && field.contains(u'['))
            field.remove(SpaceMark);
        fields.append(field);
    }
    return fields;
}

QString Table::field(int row, int field) const
{
    if (field < 0 || field >= fieldCount)
        return QString();
    CsvText::FieldSplitter splitter;
    QString text = splitter.split(this->row(row), rows[row].quoted, field + 1).back().toString();
    if (field > 0 && text.contains(u'['))
        text.remove(SpaceMark);
    return text;
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
        const int fields = CsvText::fieldCount(firstRecord, first.quoted, MaxFields + 1);
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

// text with its hiragana turned into katakana, written to out (text.size() units).
void writeKatakana(QStringView text, char16_t *out)
{
    for (const QChar c : text)
        *out++ = isHiragana(c) ? static_cast<char16_t>(c.unicode() + 0x60) : c.unicode();
}

// The text conversions of the free-text fields. Each writes its result, cut to the
// field's limit, through a text block into target (so that an import allocates for a
// block of texts, not for each field); nothing written borrows the file's text.
class FieldConverter {
public:
    void name(QStringView text, TextBlock &out, QString &target)
    {
        out.add(qMin<qsizetype>(writeFullSize(text, out.room(text.size())), NameMaxLength), target);
    }
    void memo(QStringView text, TextBlock &out, QString &target)
    {
        out.add(qMin<qsizetype>(writeFullSize(text, out.room(text.size())), MemoMaxLength), target);
    }

    void kana(QStringView text, TextBlock &out, QString &target)
    {
        if (katakana.size() < static_cast<size_t>(text.size()))
            katakana.resize(text.size());
        writeKatakana(text, katakana.data());
        const QStringView converted(katakana.data(), text.size());
        out.add(qMin<qsizetype>(writeHalfSize(converted, out.room(2 * text.size())), KanaMaxLength), target);
    }

    void phone(QStringView text, TextBlock &out, QString &target)
    {
        char16_t *const begin = out.room(2 * text.size());
        char16_t *const end = begin + writeHalfSize(text, begin);
        // "ｰ" becomes "-". A number with "(" has its parentheses turned into "-", except
        // that a leading "(" (an area code in parentheses) drops every "(": (03)1234 →
        // 03-1234, 03(1234)5678 → 03-1234-5678. One pass, in place.
        const bool areaCode = begin != end && *begin == u'(';
        const bool parentheses = areaCode || std::find(begin, end, u'(') != end;
        char16_t *to = begin;
        for (const char16_t *from = begin; from != end; ++from) {
            char16_t c = *from;
            if (c == 0xFF70) {
                c = u'-';
            } else if (parentheses && (c == u'(' || c == u')')) {
                if (c == u'(' && areaCode)
                    continue;
                c = u'-';
            }
            *to++ = c;
        }
        out.add(qMin<qsizetype>(to - begin, PhoneMaxLength), target);
    }

private:
    std::vector<char16_t> katakana; // grows to the longest kana field, then stays
};

// One conversion on its own, as a text of its own.
template <typename Convert> QString convertOne(const QString &text, Convert convert)
{
    FieldConverter converter;
    QString result;
    {
        TextBlock out;
        (converter.*convert)(text, out, result);
    }
    result.squeeze(); // alone, it would keep the rest of its block
    return result;
}

} // namespace

QString hiraganaToKatakana(const QString &text)
{
    // Only a text that holds hiragana is copied.
    if (std::none_of(text.cbegin(), text.cend(), isHiragana))
        return text;
    QString result(text.size(), Qt::Uninitialized);
    writeKatakana(text, reinterpret_cast<char16_t *>(result.data()));
    return result;
}

QString toName(const QString &text)
{
    return convertOne(text, &FieldConverter::name);
}

QString toKana(const QString &text)
{
    return convertOne(text, &FieldConverter::kana);
}

QString toPhone(const QString &text)
{
    return convertOne(text, &FieldConverter::phone);
}

QString toMemo(const QString &text)
{
    return convertOne(text, &FieldConverter::memo);
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

// The slots to fill, handed out a chunk at a time to whichever thread asks, so that a
// second thread that starts late (waking a processor can take longer than the whole
// import) only takes fewer chunks.
class SlotChunks {
public:
    explicit SlotChunks(int count) : count_(count) {}
    // The next chunk [from, to); false when all are taken.
    bool take(int &from, int &to)
    {
        from = next_.fetch_add(ChunkSlots, std::memory_order_relaxed);
        if (from >= count_)
            return false;
        to = std::min(from + ChunkSlots, count_);
        return true;
    }

private:
    static constexpr int ChunkSlots = 128;
    const int count_;
    std::atomic<int> next_{0};
};

// Fills the slots of the chunks it takes from their rows, each entry reset (New) just
// before it is filled, so that each is visited once. Each call converts into text blocks
// of its own.
void importSlots(PhoneBook &book, const Table &table, const Request &request, SlotChunks &chunks,
                 const std::function<void(int)> &reset)
{
    const Mapping &m = request.mapping;
    TextBlock texts; // the converted free texts, until they are shared out to the entries
    FieldConverter convert;
    // Fields after the last one mapped are not split out.
    const int fieldsUsed = 1 + std::max({m.name, m.kana, m.phone, m.group, m.ring, m.memo});
    CsvText::FieldSplitter splitter;
    QString withoutSpaceMarks;
    int from = 0, to = 0;
    while (chunks.take(from, to)) {
        for (int slot = from; slot < to; ++slot) {
            // The row is split once and its fields are read in place; only a field holding
            // "[SP]" is copied.
            const int row = request.startRow + slot - 1;
            const std::vector<QStringView> &views = splitter.split(table.row(row), table.rows[row].quoted, fieldsUsed);
            const bool bracket = splitter.mayHoldBracket();
            const auto field = [&](int index) -> QStringView {
                const QStringView view = views[index];
                if (bracket && index > 0 && view.contains(SpaceMark)) {
                    withoutSpaceMarks = view.toString().remove(SpaceMark);
                    return withoutSpaceMarks;
                }
                return view;
            };
            if (reset)
                reset(slot + 1);
            book.resetEntry(slot);
            DialEntry &entry = book.entries[slot];
            if (m.name >= 0)
                convert.name(field(m.name), texts, entry.fields[DialEntry::Name]);
            if (m.kana >= 0)
                convert.kana(field(m.kana), texts, entry.fields[DialEntry::Kana]);
            if (m.phone >= 0)
                convert.phone(field(m.phone), texts, entry.fields[DialEntry::Phone]);
            if (m.group >= 0)
                entry.setField(DialEntry::Group, toGroup(field(m.group)));
            if (m.ring >= 0)
                entry.setField(DialEntry::Ring, toRingTone(field(m.ring), book.Syubetu));
            if (m.memo >= 0)
                convert.memo(field(m.memo), texts, entry.fields[DialEntry::Memo]);
        }
    }
    texts.flush();
}

// Below this many rows the work (about 0.15 ms for 1000) is no longer than starting a
// second thread can take (0.05–0.5 ms measured on a virtual machine).
constexpr int RowsWorthASecondThread = 1000;

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

    // The entries are independent of each other: with a second processor a second
    // thread fills chunks of them beside this one. New's progress is then reported from
    // this thread once both are done, in order.
    SlotChunks chunks(count);
    std::exception_ptr secondFailed;
    std::jthread second; // joined however this function is left
    if (count >= RowsWorthASecondThread && std::thread::hardware_concurrency() > 1) {
        try {
            second = std::jthread([&] {
                try {
                    importSlots(book, table, request, chunks, {});
                } catch (...) {
                    secondFailed = std::current_exception();
                }
            });
        } catch (const std::system_error &) {
            // No thread to be had: this one takes every chunk.
        }
    }
    importSlots(book, table, request, chunks, second.joinable() ? std::function<void(int)>() : reset);
    if (second.joinable()) {
        second.join();
        if (secondFailed)
            std::rethrow_exception(secondFailed);
        for (int slot = 0; slot < count && reset; ++slot)
            reset(slot + 1);
    }
    outcome.imported = count;
    for (int slot = count; slot < PhoneBook::EntryCount; ++slot) {
        if (reset)
            reset(slot + 1);
        book.resetEntry(slot);
    }
    return outcome;
}

} // namespace CsvImport
