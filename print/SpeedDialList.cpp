#include "print/SpeedDialList.h"

#include "core/ColumnCaptions.h"
#include "core/ListOperations.h"
#include "core/Vocabulary.h"

namespace SpeedDialList {

namespace {

// The entry list's column of each printed column.
constexpr std::array<int, ColumnCount> ListColumn{0, 1 + DialEntry::Name, 1 + DialEntry::Kana, 1 + DialEntry::Phone,
                                                  1 + DialEntry::Group};

// The entries in the order asked for. The sorts are the entry list's own, on a copy, so
// that the printed order is the one a click on the column header would give.
std::vector<DialEntry> orderedEntries(const PhoneBook &book, Order order)
{
    if (order == Order::List)
        return book.entries;
    PhoneBook sorted = book;
    sorted.FLastSortColumn = -1; // ascending whatever the window's last sort was
    ListOperations::sortByColumn(sorted, order == Order::Kana ? ListColumn[Kana] : ListColumn[Slot]);
    return std::move(sorted.entries);
}

} // namespace

QString groupText(const PhoneBook &book, const QString &group)
{
    for (const GroupSetting &setting : book.groups) {
        if (setting.Label == group)
            return setting.name().isEmpty() || setting.name() == Vocabulary::noGroupName() ? group : setting.name();
    }
    return group;
}

Content build(const PhoneBook &book, const Options &options)
{
    Content content;
    content.title = title();
    content.customer = QStringLiteral("お客様名：%1　　お客様電話番号：%2").arg(book.UserName, book.UserNo);
    content.date = QStringLiteral("作成日：%1").arg(options.date.toString(QStringLiteral("yyyy年M月d日")));

    const QStringList &entryCaptions = ColumnCaptions::entryColumns();
    for (int column = 0; column < ColumnCount; ++column) {
        if (column == Slot || options.columns[column])
            content.headers << entryCaptions.at(ListColumn[column]);
    }

    const std::vector<DialEntry> entries = orderedEntries(book, options.order);
    content.rows.reserve(entries.size());
    for (const DialEntry &entry : entries) {
        if (options.filledOnly && !entry.isRegistered())
            continue;
        QStringList row;
        row.reserve(ColumnCount);
        for (int column = 0; column < ColumnCount; ++column) {
            if (column != Slot && !options.columns[column])
                continue;
            // An empty slot shows its number only: its group is a default, not the customer's.
            const QString &text = ListOperations::columnText(entry, ListColumn[column]);
            if (column != Slot && !entry.isRegistered())
                row << QString();
            else
                row << (column == Group ? groupText(book, text) : text);
        }
        content.rows.push_back(std::move(row));
    }

    content.groupTitle = QStringLiteral("グループ一覧");
    content.groupHeaders = ColumnCaptions::groupColumns();
    for (const GroupSetting &group : book.groups)
        content.groupRows.push_back(QStringList{group.Label} + QStringList(group.fields.begin(), group.fields.end()));
    return content;
}

QString title()
{
    return QStringLiteral("短縮ダイヤル一覧");
}

QString pageNumberText(int page, int pageCount)
{
    return QStringLiteral("%1 / %2").arg(page).arg(pageCount);
}

const QStringList &orderCaptions()
{
    static const QStringList captions = {QStringLiteral("一覧の並び順"), QStringLiteral("短縮No.順"),
                                         QStringLiteral("カナ順")};
    return captions;
}

} // namespace SpeedDialList
