#include "formats/CsvText.h"

#include "formats/CharSearch.h"
#include "formats/TextFile.h"

namespace CsvText {

namespace {

constexpr char16_t Quote = u'"';

// The closing quote of the quoted field that opens at open, or -1 when the text ends
// before one. Inside quotes "" stands for one quote and a quote on its own closes the
// field. A search that reaches the end happens once at most: after it every quote of the
// text stands in a pair, so no later quoted field can stay open.
qsizetype closingQuote(QStringView text, qsizetype open)
{
    for (qsizetype at = text.indexOf(Quote, open + 1); at >= 0; at = text.indexOf(Quote, at + 2)) {
        if (at + 1 >= text.size() || text[at + 1] != Quote)
            return at;
    }
    return -1;
}

// A field of a record that holds quotes: where its text lies and where it ends.
struct QuotedField {
    qsizetype textStart = 0;
    qsizetype textEnd = 0;
    qsizetype end = 0; // the comma after the field, or the record's size
    bool asIs = true;  // its text is textStart..textEnd of the record unchanged
};

QuotedField scanField(QStringView record, qsizetype pos)
{
    QuotedField field;
    qsizetype after = pos; // where the unquoted rest of the field starts
    if (pos < record.size() && record[pos] == Quote) {
        field.textStart = pos + 1;
        field.textEnd = record.size(); // a quote that never closes runs to the end
        for (qsizetype i = pos + 1; i < record.size(); ++i) {
            const char16_t c = record[i].unicode();
            if (c == Quote) {
                if (i + 1 < record.size() && record[i + 1] == Quote) {
                    field.asIs = false;
                    ++i;
                    continue;
                }
                field.textEnd = i;
                break;
            }
            if (c == u'\r' || c == u'\n')
                field.asIs = false;
        }
        after = qMin(field.textEnd + 1, record.size());
    } else {
        field.textStart = pos;
    }
    const qsizetype comma = record.sliced(after).indexOf(u',');
    field.end = comma < 0 ? record.size() : after + comma;
    if (field.textStart == pos) // unquoted
        field.textEnd = field.end;
    else if (after < field.end)
        field.asIs = false; // text after the closing quote
    return field;
}

// The field's text with "" read as one quote and each line break as one space, then
// what follows its closing quote.
void rewriteField(QStringView record, qsizetype pos, const QuotedField &field, QString &out)
{
    out.clear();
    for (qsizetype i = field.textStart; i < field.textEnd; ++i) {
        const QChar c = record[i];
        if (c == Quote) {
            ++i; // the first of a pair
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < field.textEnd && record[i + 1] == u'\n')
                ++i;
            out += u' ';
            continue;
        }
        out += c;
    }
    const qsizetype after = field.textEnd + 1;
    if (after < field.end && field.textStart != pos)
        out += record.sliced(after, field.end - after);
}

} // namespace

std::vector<Record> records(QStringView text)
{
    const std::vector<LineSpan> lines = lineSpans(text);
    std::vector<Record> result;
    result.reserve(lines.size());
    for (size_t i = 0; i < lines.size();) {
        const LineSpan &first = lines[i];
        if (!text.sliced(first.start, first.length).contains(Quote)) {
            result.push_back({first.start, first.length, false, false});
            ++i;
            continue;
        }
        // Field by field; a quoted field may carry the record on over later lines.
        size_t last = i;
        const auto lineEnd = [&] { return lines[last].start + lines[last].length; };
        bool unclosed = false;
        for (qsizetype pos = first.start;;) {
            if (pos < lineEnd() && text[pos] == Quote) {
                const qsizetype close = closingQuote(text, pos);
                if (close < 0) {
                    unclosed = true;
                    break;
                }
                while (lineEnd() <= close)
                    ++last;
                pos = close + 1;
            }
            const qsizetype comma = text.sliced(pos, lineEnd() - pos).indexOf(u',');
            if (comma < 0)
                break;
            pos += comma + 1;
        }
        result.push_back({first.start, lineEnd() - first.start, true, unclosed});
        i = last + 1;
    }
    return result;
}

int fieldCount(QStringView record, bool quoted, int limit)
{
    if (!quoted)
        return static_cast<int>(qMin<qsizetype>(record.count(u',') + 1, limit));
    int count = 0;
    for (qsizetype pos = 0; pos <= record.size() && count < limit; ++count)
        pos = scanField(record, pos).end + 1;
    return count;
}

const std::vector<QStringView> &FieldSplitter::split(QStringView record, bool quoted, int count)
{
    fields_.clear();
    if (!quoted) {
        // One pass over the line, which is scanned for every row imported.
        qsizetype start = 0;
        bracket_ = forEachOfNoting(record, u',', u'[', [&](qsizetype i) {
            fields_.push_back(record.sliced(start, i - start));
            start = i + 1;
            return static_cast<int>(fields_.size()) < count;
        });
        if (static_cast<int>(fields_.size()) < count)
            fields_.push_back(record.sliced(start));
        fields_.resize(count);
        return fields_;
    }
    bracket_ = record.contains(u'[');
    if (static_cast<int>(rewritten_.size()) < count)
        rewritten_.resize(count);
    for (qsizetype pos = 0; pos <= record.size() && static_cast<int>(fields_.size()) < count;) {
        const QuotedField field = scanField(record, pos);
        if (field.asIs) {
            fields_.push_back(record.sliced(field.textStart, field.textEnd - field.textStart));
        } else {
            QString &text = rewritten_[fields_.size()];
            rewriteField(record, pos, field, text);
            fields_.push_back(text);
        }
        pos = field.end + 1;
    }
    fields_.resize(count);
    return fields_;
}

} // namespace CsvText
