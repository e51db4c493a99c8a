#include "core/KanaReading.h"

#include "core/WidthRules.h"

#include <algorithm>

namespace {

constexpr char16_t IdeographicSpace = 0x3000;

bool isFullWidthAscii(QChar c)
{
    return c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E;
}

bool isWrittenAsIs(const QString &surface)
{
    return !surface.isEmpty() && std::all_of(surface.cbegin(), surface.cend(), isFullWidthAscii);
}

// Hiragana to katakana, and the small or old katakana that have no half-width form to the
// plain kana the phone's directory can show.
QString katakanaForField(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        char16_t u = c.unicode();
        if (u >= 0x3041 && u <= 0x3096)
            u += 0x60;
        switch (u) {
        case 0x30EE:
            u = 0x30EF;
            break; // ヮ → ワ
        case 0x30F0:
            u = 0x30A4;
            break; // ヰ → イ
        case 0x30F1:
            u = 0x30A8;
            break; // ヱ → エ
        case 0x30F5:
            u = 0x30AB;
            break; // ヵ → カ
        case 0x30F6:
            u = 0x30B1;
            break; // ヶ → ケ
        default:
            break;
        }
        c = QChar(u);
    }
    return result;
}

bool isSoundMark(QChar c)
{
    return c.unicode() == 0xFF9E || c.unicode() == 0xFF9F;
}

} // namespace

QStringList kanaNameParts(const QString &name, const QStringList &designators)
{
    QString full = ChangeFullSize(name);
    for (const QString &designator : designators)
        full.replace(designator, QString(QChar(IdeographicSpace)));
    return full.split(QChar(IdeographicSpace), Qt::SkipEmptyParts);
}

QString partReading(const QList<KanaWord> &words)
{
    QString reading;
    for (const KanaWord &word : words) {
        if (isWrittenAsIs(word.surface) || word.reading.isEmpty())
            reading += word.surface;
        else
            reading += word.reading;
    }
    return reading;
}

QString kanaFieldText(const QStringList &partReadings)
{
    QString text;
    for (const QString &part : partReadings) {
        QString half = ChangeHalfSize(katakanaForField(part));
        half.removeIf([](QChar c) { return !isHalfWidthChar(c.unicode()) || c == u' '; });
        if (half.isEmpty())
            continue;
        if (!text.isEmpty())
            text += u' ';
        text += half;
    }
    if (text.size() > KanaMaxLength) {
        const bool splitsMark = isSoundMark(text.at(KanaMaxLength));
        text.truncate(splitsMark ? KanaMaxLength - 1 : KanaMaxLength);
        if (text.endsWith(u' '))
            text.chop(1);
    }
    return text;
}

QStringList kanaProposals(const QList<QStringList> &partCandidates, int maxCount)
{
    QStringList best;
    qsizetype deepest = 0;
    for (const QStringList &candidates : partCandidates) {
        best += candidates.value(0);
        deepest = std::max(deepest, candidates.size());
    }

    QStringList proposals;
    const auto add = [&](const QStringList &readings) {
        const QString text = kanaFieldText(readings);
        if (!text.isEmpty() && !proposals.contains(text))
            proposals += text;
    };
    add(best);
    for (qsizetype rank = 1; rank < deepest; ++rank) {
        for (qsizetype part = 0; part < partCandidates.size(); ++part) {
            if (proposals.size() >= maxCount)
                return proposals;
            if (rank >= partCandidates[part].size())
                continue;
            QStringList variant = best;
            variant[part] = partCandidates[part][rank];
            add(variant);
        }
    }
    if (proposals.size() > maxCount)
        proposals.resize(maxCount);
    return proposals;
}

QStringList parseDesignatorList(const QString &text)
{
    QStringList designators;
    const QStringList lines = text.split(u'\n');
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const QString full = ChangeFullSize(trimmed);
        if (!designators.contains(full))
            designators += full;
    }
    std::stable_sort(designators.begin(), designators.end(),
                     [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return designators;
}
