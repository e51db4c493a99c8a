#include "core/Analysis.h"

#include "core/WidthRules.h"

#include <array>

namespace {

constexpr std::array<Finding, FindingCount> ReportOrder = {
    Finding::NameWidth,  Finding::KanaWidth,  Finding::MemoWidth,   Finding::PhoneWidth, Finding::PhoneCharacter,
    Finding::NameLength, Finding::KanaLength, Finding::PhoneLength, Finding::MemoLength};

constexpr unsigned bit(Finding f)
{
    return static_cast<unsigned>(f);
}

bool holdsNonDialChar(const QString &phone)
{
    for (const QChar c : phone) {
        if (!isDialChar(c))
            return true;
    }
    return false;
}

constexpr QStringView Indent = u"    ";
constexpr QStringView LineEnd = u"\r\n";

} // namespace

unsigned analyseEntry(const DialEntry &entry)
{
    const QString &name = entry.name();
    const QString &kana = entry.kana();
    const QString &phone = entry.phone();
    const QString &memo = entry.memo();

    unsigned findings = 0;
    if (!IsFullString(name))
        findings |= bit(Finding::NameWidth);
    if (!IsHalfString(kana))
        findings |= bit(Finding::KanaWidth);
    if (!IsHalfString(phone))
        findings |= bit(Finding::PhoneWidth);
    if (!IsFullString(memo))
        findings |= bit(Finding::MemoWidth);
    if (holdsNonDialChar(phone))
        findings |= bit(Finding::PhoneCharacter);
    if (name.size() > NameMaxLength)
        findings |= bit(Finding::NameLength);
    if (kana.size() > KanaMaxLength)
        findings |= bit(Finding::KanaLength);
    if (phone.size() > PhoneMaxLength)
        findings |= bit(Finding::PhoneLength);
    if (memo.size() > MemoMaxLength)
        findings |= bit(Finding::MemoLength);
    return findings;
}

QString findingMessage(Finding finding)
{
    switch (finding) {
    case Finding::NameWidth:
        return nameWidthMessage();
    case Finding::KanaWidth:
        return kanaWidthMessage();
    case Finding::MemoWidth:
        return memoWidthMessage();
    case Finding::PhoneWidth:
        return phoneWidthMessage();
    case Finding::PhoneCharacter:
        return phoneCharacterMessage();
    case Finding::NameLength:
        return QStringLiteral("名前が全角１６文字を越えています");
    case Finding::KanaLength:
        return QStringLiteral("カナが１６文字を越えています");
    case Finding::PhoneLength:
        return QStringLiteral("電話番号が２４文字を越えています");
    case Finding::MemoLength:
        return QStringLiteral("メモが全角１６文字を越えています");
    }
    return QString();
}

QString noProblemsReport()
{
    return QStringLiteral("この電話帳データに異常は見つかりませんでした");
}

QString analysisReport(const PhoneBook &book, const std::function<void(int position)> &progress)
{
    // The lines of a block are the same few texts over and over: build them once.
    std::array<QString, FindingCount> lines;
    for (int i = 0; i < FindingCount; ++i)
        lines[i] = Indent.toString() + findingMessage(ReportOrder[i]) + LineEnd.toString();

    QString report;
    const int count = static_cast<int>(book.entries.size());
    for (int p = 0; p < count; ++p) {
        if (progress)
            progress(p);
        const DialEntry &entry = book.entries[p];
        const unsigned findings = analyseEntry(entry);
        if (findings == 0)
            continue;
        report += u"【短縮";
        report += entry.No;
        report += u"】";
        report += LineEnd;
        for (int i = 0; i < FindingCount; ++i) {
            if (findings & bit(ReportOrder[i]))
                report += lines[i];
        }
        report += LineEnd;
    }
    if (report.isEmpty())
        return noProblemsReport();
    return report;
}
