#include "formats/CsvText.h"

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

// The field that starts at pos: a quoted field's text with "" read as one quote and each
// line break as one space, then anything up to the next comma. end is set to where the
// field ends: the comma after it, or the record's size.
QString readField(QStringView record, qsizetype pos, qsizetype &end)
{
    const auto endFrom = [&](qsizetype at) {
        const qsizetype comma = record.indexOf(u',', at);
        return comma < 0 ? record.size() : comma;
    };
    if (pos >= record.size() || record[pos] != Quote) {
        end = endFrom(pos);
        return record.sliced(pos, end - pos).toString();
    }
    QString text;
    qsizetype at = pos + 1;
    // A quote that never closes runs to the end of the record.
    for (; at < record.size(); ++at) {
        const QChar c = record[at];
        if (c == Quote) {
            if (at + 1 < record.size() && record[at + 1] == Quote) {
                text += Quote;
                ++at;
                continue;
            }
            ++at; // past the closing quote
            break;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && at + 1 < record.size() && record[at + 1] == u'\n')
                ++at;
            text += u' ';
            continue;
        }
        text += c;
    }
    end = endFrom(at);
    text += record.sliced(at, end - at);
    return text;
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

QStringList splitFields(QStringView record, int limit)
{
    QStringList fields;
    fields.reserve(qMin(limit, 16)); // most files have a few fields; a row of a million commas stops at limit
    for (qsizetype pos = 0; pos <= record.size() && fields.size() < limit;) {
        qsizetype end = 0;
        fields.append(readField(record, pos, end));
        pos = end + 1;
    }
    return fields;
}

} // namespace CsvText
