#include "formats/CsvImport.h"

#include "core/DeviceModel.h"
#include "core/TextBlock.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"
#include "formats/CharSearch.h"
#include "formats/TextFile.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

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

// The first count fields of a line, empty views for the missing ones; one pass over the
// line, which is scanned for every row imported. Returns whether the fields may hold a
// "[" (only then can one hold "[SP]").
bool splitViews(QStringView line, int count, std::vector<QStringView> &views)
{
    views.clear();
    qsizetype start = 0;
    const bool bracket = forEachOfNoting(line, u',', u'[', [&](qsizetype i) {
        views.push_back(line.sliced(start, i - start));
        start = i + 1;
        return static_cast<int>(views.size()) < count;
    });
    if (static_cast<int>(views.size()) < count)
        views.push_back(line.sliced(start));
    views.resize(count);
    return bracket;
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

int fieldCount(QStringView firstLine)
{
    return static_cast<int>(firstLine.count(u',')) + 1;
}

QStringList splitRow(QStringView line, int fieldCount)
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
        QString field = line.mid(start, comma - start).toString();
        if (!fields.isEmpty() && field.contains(u'['))
            field.remove(SpaceMark);
        fields.append(field);
        start = comma + 1;
    }
    return fields;
}

int rowCount(QStringView text)
{
    int count = 0;
    for (const LineSpan &line : lineSpans(text)) {
        if (line.length > 0)
            ++count;
    }
    return count;
}

QString Table::field(int row, int field) const
{
    if (field < 0 || field >= fieldCount)
        return QString();
    const QStringView line = this->row(row);
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
    QString text = line.mid(start, end - start).toString();
    if (field > 0 && text.contains(u'['))
        text.remove(SpaceMark);
    return text;
}

Table buildTable(QString text, const std::function<void(int)> &progress)
{
    Table table;
    std::vector<LineSpan> lines = lineSpans(text);
    table.fieldCount = lines.empty() ? 0 : fieldCount(QStringView(text).first(lines.front().length));
    std::erase_if(lines, [](const LineSpan &line) { return line.length == 0; });
    table.rows = std::move(lines);
    table.text = std::move(text);
    if (progress) {
        for (int row = 1; row <= table.rowCount(); ++row)
            progress(row);
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
    std::vector<QStringView> views;
    views.reserve(fieldsUsed);
    QString withoutSpaceMarks;
    int from = 0, to = 0;
    while (chunks.take(from, to)) {
        for (int slot = from; slot < to; ++slot) {
            // The row is split once and its fields are read in place; only a field holding
            // "[SP]" is copied.
            const QStringView line = table.row(request.startRow + slot - 1);
            const bool bracket = splitViews(line, fieldsUsed, views);
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
