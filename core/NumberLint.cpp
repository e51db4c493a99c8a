#include "core/NumberLint.h"

#include "core/PhoneNumbers.h"

#include <QHash>
#include <vector>

namespace {

constexpr QStringView Indent = u"    ";
constexpr QStringView LineEnd = u"\r\n";
constexpr QStringView Gap = u"　"; // between the items of a line

// Positions grouped by a key, groups in the order of their first position. The members
// are chained through next: no list per group, as almost every group has one member.
class Groups {
public:
    explicit Groups(int positions) : next_(positions, -1) { index_.reserve(positions); }

    void add(const QString &key, int position)
    {
        const auto it = index_.constFind(key);
        if (it == index_.constEnd()) {
            index_.insert(key, static_cast<int>(first_.size()));
            first_.push_back(position);
            last_.push_back(position);
            size_.push_back(1);
            return;
        }
        next_[last_[*it]] = position;
        last_[*it] = position;
        ++size_[*it];
    }

    int count() const { return static_cast<int>(first_.size()); }
    int size(int group) const { return size_[group]; }
    // The positions of a group in list order.
    QList<int> members(int group) const
    {
        QList<int> positions;
        for (int p = first_[group]; p >= 0; p = next_[p])
            positions.append(p);
        return positions;
    }

private:
    QHash<QString, int> index_;
    std::vector<int> first_, last_, size_;
    std::vector<int> next_;
};

class ReportText {
public:
    void section(const QString &heading)
    {
        text_ += heading;
        text_ += LineEnd;
    }
    void label(const QString &caption)
    {
        text_ += u"【";
        text_ += caption;
        text_ += u"】";
        text_ += LineEnd;
    }
    void line(std::initializer_list<QStringView> items)
    {
        text_ += Indent;
        bool first = true;
        for (const QStringView item : items) {
            if (!first)
                text_ += Gap;
            text_ += item;
            first = false;
        }
        text_ += LineEnd;
    }
    void endBlock() { text_ += LineEnd; }
    const QString &text() const { return text_; }

private:
    QString text_;
};

QString slotCaption(const DialEntry &entry)
{
    return QStringLiteral("短縮") + entry.No;
}

void reportWrongNumbers(const PhoneBook &book, ReportText &report)
{
    bool any = false;
    for (const DialEntry &entry : book.entries) {
        if (entry.phone().isEmpty())
            continue;
        const QString problem = numberProblemMessage(judgePhoneNumber(entry.phone()));
        if (problem.isEmpty())
            continue;
        if (!any)
            report.section(QStringLiteral("■番号として正しくない電話番号"));
        any = true;
        report.label(slotCaption(entry));
        report.line({entry.phone(), problem});
        report.endBlock();
    }
}

void reportSameNumbers(const PhoneBook &book, ReportText &report)
{
    Groups numbers(static_cast<int>(book.entries.size()));
    for (int p = 0; p < static_cast<int>(book.entries.size()); ++p) {
        const QString number = comparablePhoneNumber(book.entries[p].phone());
        if (!number.isEmpty())
            numbers.add(number, p);
    }
    bool any = false;
    for (int g = 0; g < numbers.count(); ++g) {
        if (numbers.size(g) < 2)
            continue;
        const QList<int> group = numbers.members(g);
        if (!any)
            report.section(QStringLiteral("■同じ番号が複数の短縮にあります"));
        any = true;
        report.label(comparablePhoneNumber(book.entries[group.first()].phone()));
        for (int p : group) {
            const DialEntry &entry = book.entries[p];
            report.line({slotCaption(entry), entry.phone(), entry.name()});
        }
        report.endBlock();
    }
}

void reportSameNames(const PhoneBook &book, ReportText &report)
{
    Groups names(static_cast<int>(book.entries.size()));
    for (int p = 0; p < static_cast<int>(book.entries.size()); ++p) {
        const DialEntry &entry = book.entries[p];
        if (!entry.name().isEmpty() && !entry.phone().isEmpty())
            names.add(entry.name(), p);
    }
    bool any = false;
    for (int g = 0; g < names.count(); ++g) {
        if (names.size(g) < 2)
            continue;
        const QList<int> group = names.members(g);
        const QString first = comparablePhoneNumber(book.entries[group.first()].phone());
        bool differ = false;
        for (int p : group)
            differ = differ || comparablePhoneNumber(book.entries[p].phone()) != first;
        if (!differ)
            continue; // the same number twice is listed among the same numbers
        if (!any)
            report.section(QStringLiteral("■同じ名前で番号が違う短縮があります"));
        any = true;
        report.label(book.entries[group.first()].name());
        for (int p : group) {
            const DialEntry &entry = book.entries[p];
            report.line({slotCaption(entry), entry.phone()});
        }
        report.endBlock();
    }
}

} // namespace

QString numberLintCleanReport()
{
    return QStringLiteral("番号と重複の問題は見つかりませんでした");
}

QString numberLintReport(const PhoneBook &book)
{
    ReportText report;
    reportWrongNumbers(book, report);
    reportSameNumbers(book, report);
    reportSameNames(book, report);
    return report.text().isEmpty() ? numberLintCleanReport() : report.text();
}

PhoneFormatPlan planPhoneFormatting(const PhoneBook &book, const QList<int> &positions)
{
    QList<int> walked = positions;
    if (walked.isEmpty()) {
        for (int p = 0; p < static_cast<int>(book.entries.size()); ++p)
            walked.append(p);
    }
    PhoneFormatPlan plan;
    for (int p : walked) {
        if (p < 0 || p >= static_cast<int>(book.entries.size()))
            continue;
        const QString &phone = book.entries[p].phone();
        if (phone.isEmpty())
            continue;
        const std::optional<QString> form = formattedPhoneNumber(phone);
        if (!form)
            plan.unrecognised.append(p);
        else if (*form != phone)
            plan.changes.append({p, *form});
    }
    return plan;
}

QString phoneFormatPreview(const PhoneBook &book, const PhoneFormatPlan &plan)
{
    ReportText preview;
    if (!plan.changes.isEmpty()) {
        preview.section(QStringLiteral("■書式をそろえる番号（変更前　→　変更後）"));
        for (const ListOperations::FieldChange &change : plan.changes) {
            const DialEntry &entry = book.entries[change.position];
            preview.line({slotCaption(entry), entry.phone(), u"→", change.value});
        }
        preview.endBlock();
    }
    if (!plan.unrecognised.isEmpty()) {
        preview.section(QStringLiteral("■番号として認識できないため、そのままにする番号"));
        for (int p : plan.unrecognised) {
            const DialEntry &entry = book.entries[p];
            preview.line({slotCaption(entry), entry.phone()});
        }
        preview.endBlock();
    }
    return preview.text();
}
