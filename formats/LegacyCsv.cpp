#include "formats/LegacyCsv.h"

#include "core/DalvinoError.h"
#include "core/Vocabulary.h"
#include "formats/CsvImport.h"
#include "formats/TextFile.h"

namespace LegacyCsv {

namespace {

constexpr int HeaderFieldCount = 15;
const QString CommonRecord = QStringLiteral("共通");
const QString IndividualRecord = QStringLiteral("個別");
const QString CommonVariant = QStringLiteral("2");
const QString StopMark = QStringLiteral("600");

const Layout Layouts[] = {
    {u"PQ---R", 8, 9, 10, {u"4", u"3"}, nullptr, ModelZR410Std, ModelZR410Pro},
    {u"NV300R", 8, 9, 10, {u"1", u"3"}, nullptr, ModelZR410Std, ModelZR410Std},
    {u"CW214R", 6, 7, 8, {u"3", nullptr}, u"1", ModelZR410Pro, ModelZR410Pro},
};
const Layout &CW214R = Layouts[2];

bool isSeparatorSpace(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 0x20;
}

bool equals(const QString &text, const char16_t *literal)
{
    return literal && text == QStringView(literal);
}

enum class Variant { None, Plain, CommonIndividual };

} // namespace

QStringList splitCommaText(const QString &line)
{
    // A NUL ends the text, as it ends a C string.
    const qsizetype end = line.indexOf(QChar(0)) < 0 ? line.size() : line.indexOf(QChar(0));
    QStringList fields;
    qsizetype p = 0;
    while (p < end && isSeparatorSpace(line.at(p)))
        ++p;
    while (p < end) {
        QString field;
        if (line.at(p) == u'"') {
            ++p;
            while (p < end) {
                if (line.at(p) == u'"') {
                    if (p + 1 < end && line.at(p + 1) == u'"') {
                        field += u'"';
                        p += 2;
                        continue;
                    }
                    ++p; // the closing quote
                    break;
                }
                field += line.at(p++);
            }
        } else {
            const qsizetype start = p;
            while (p < end && line.at(p).unicode() > 0x20 && line.at(p) != u',')
                ++p;
            field = line.mid(start, p - start);
        }
        fields << field;
        while (p < end && isSeparatorSpace(line.at(p)))
            ++p;
        if (p < end && line.at(p) == u',') {
            if (p + 1 == end)
                fields << QString();
            do
                ++p;
            while (p < end && isSeparatorSpace(line.at(p)));
        }
    }
    return fields;
}

QStringList splitDataLine(const QString &line)
{
    QStringList fields = line.split(u',');
    if (fields.last().isEmpty())
        fields.removeLast();
    return fields;
}

const Layout *recognise(const QStringList &headerFields)
{
    if (headerFields.size() < HeaderFieldCount)
        return nullptr;
    for (const Layout &layout : Layouts) {
        if (headerFields.at(0) == QStringView(layout.signature))
            return &layout;
    }
    // Files of the CW214R series may carry another name; their field 2 says "2".
    if (headerFields.at(1) == QLatin1String("2"))
        return &CW214R;
    return nullptr;
}

QString notLegacyText()
{
    return QStringLiteral("NVシリーズの短縮データではありません");
}

QString countText(int count)
{
    return QStringLiteral("%1件のデータが登録されています").arg(count);
}

QString notReadText(int count)
{
    return QStringLiteral("4000件を超える%1件のデータは読み込まれませんでした").arg(count);
}

QString missingFieldText(int line, int field)
{
    return QStringLiteral("%1行目にフィールド%2がないため読み込みを中止しました").arg(line).arg(field);
}

Outcome parse(const QStringList &lines, const QString &path, const PhoneBook &current, const Progress &progress)
{
    Outcome outcome;
    const QStringList header = splitCommaText(lines.isEmpty() ? QString() : lines.first());
    const Layout *layout = recognise(header);
    if (!layout) {
        outcome.status = Outcome::Status::NotLegacy;
        outcome.error = notLegacyText();
        return outcome;
    }

    if (progress.resetting)
        progress.resetting();
    outcome.book = current;
    PhoneBook &book = outcome.book;
    book.New(progress.resetStep);
    outcome.model = header.at(3) == QLatin1String("0x08") ? layout->modelWith0x08 : layout->model;
    book.SyubetuFlag = outcome.model;
    if (progress.reading)
        progress.reading();

    const QString &code = header.at(14);
    Variant variant = Variant::None;
    if (equals(code, layout->plainCodes[0]) || equals(code, layout->plainCodes[1]) ||
        equals(code, layout->stopAt600Code))
        variant = Variant::Plain;
    else if (code == CommonVariant)
        variant = Variant::CommonIndividual;
    const bool stopsAt600 = equals(code, layout->stopAt600Code);
    if (stopsAt600 && header.at(2) == StopMark)
        variant = Variant::None;

    int notRead = 0;
    for (qsizetype i = 1; variant != Variant::None && i < lines.size(); ++i) {
        const QStringList fields = splitDataLine(lines.at(i));
        const int lineNumber = static_cast<int>(i) + 1;
        bool record = true;
        for (int field : {layout->nameField, layout->kanaField, layout->numberField}) {
            if (field > fields.size()) {
                outcome.status = Outcome::Status::Failed;
                outcome.error = missingFieldText(lineNumber, field);
                return outcome;
            }
            if (fields.at(field - 1).isEmpty()) {
                record = false;
                break;
            }
        }
        if (record) {
            if (outcome.count >= PhoneBook::EntryCount) {
                ++notRead;
            } else {
                DialEntry &entry = book.entries[outcome.count++];
                const QString &kind = fields.at(0);
                const bool filled = variant == Variant::Plain || kind == CommonRecord || kind == IndividualRecord;
                if (filled) {
                    entry.setField(DialEntry::Name, fields.at(layout->nameField - 1));
                    entry.setField(DialEntry::Kana, fields.at(layout->kanaField - 1));
                    entry.setField(DialEntry::Phone, fields.at(layout->numberField - 1));
                }
                if (variant == Variant::CommonIndividual && kind == IndividualRecord) {
                    entry.setField(DialEntry::Group, Vocabulary::individualGroup());
                    entry.setField(DialEntry::Extension, fields.at(1));
                }
            }
        }
        // The line that carries the end mark is still read.
        if (stopsAt600 && fields.at(2) == StopMark)
            break;
    }

    book.FileName = path;
    book.Modified = false;
    outcome.status = Outcome::Status::Read;
    if (notRead > 0)
        outcome.notices << notReadText(notRead);
    return outcome;
}

Outcome read(const QString &path, const PhoneBook &current, const Progress &progress)
{
    const QStringList lines = readLines(path);
    if (lines.isEmpty())
        throw DalvinoError(CsvImport::emptyFileText(path));
    return parse(lines, path, current, progress);
}

} // namespace LegacyCsv
