#include "core/LineBreaks.h"

#include <QRegularExpression>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/unistr.h>

namespace {

// The places where a line may end: ICU's line breaking with Japanese phrases ("lw=phrase"),
// which keeps the words of a phrase together; plain character breaking when the phrase
// data is missing.
std::unique_ptr<icu::BreakIterator> phraseBreaks()
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createLineInstance(icu::Locale("ja@lw=phrase"), status));
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        breaks.reset(icu::BreakIterator::createLineInstance(icu::Locale::getJapanese(), status));
    }
    return U_SUCCESS(status) ? std::move(breaks) : nullptr;
}

QStringList phrasesOf(const QString &paragraph)
{
    QStringList phrases;
    const std::unique_ptr<icu::BreakIterator> breaks = phraseBreaks();
    if (!breaks)
        return {paragraph};
    const icu::UnicodeString text(false, reinterpret_cast<const UChar *>(paragraph.utf16()),
                                  static_cast<int32_t>(paragraph.size()));
    breaks->setText(text);
    for (int32_t start = breaks->first(), end = breaks->next(); end != icu::BreakIterator::DONE;
         start = end, end = breaks->next())
        phrases << paragraph.mid(start, end - start);
    return phrases;
}

// A phrase wider than a line: as many characters as fit on each line (a surrogate pair
// stays whole).
QStringList cutPhrase(const QString &phrase, int maxWidth, const std::function<int(const QString &)> &width)
{
    QStringList pieces;
    QString piece;
    for (qsizetype i = 0; i < phrase.size();) {
        const qsizetype length = phrase.at(i).isHighSurrogate() && i + 1 < phrase.size() ? 2 : 1;
        const QString character = phrase.mid(i, length);
        if (!piece.isEmpty() && width(piece + character) > maxWidth) {
            pieces << piece;
            piece.clear();
        }
        piece += character;
        i += length;
    }
    if (!piece.isEmpty())
        pieces << piece;
    return pieces;
}

void breakParagraph(const QString &paragraph, int maxWidth, const std::function<int(const QString &)> &width,
                    QStringList &lines)
{
    QString line;
    for (const QString &phrase : phrasesOf(paragraph)) {
        if (width(line + phrase) <= maxWidth) {
            line += phrase;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        if (width(phrase) <= maxWidth) {
            line = phrase;
            continue;
        }
        QStringList pieces = cutPhrase(phrase, maxWidth, width);
        line = pieces.takeLast();
        lines << pieces;
    }
    lines << line;
}

} // namespace

QStringList breakIntoLines(const QString &text, int maxWidth, const std::function<int(const QString &)> &width)
{
    QStringList lines;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (const QString &paragraph : text.split(lineEnd))
        breakParagraph(paragraph, maxWidth, width, lines);
    return lines;
}
