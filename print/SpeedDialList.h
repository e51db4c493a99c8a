#pragma once

#include "core/PhoneBook.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The printed speed-dial list that the customer keeps beside the phones: what it holds,
// in which order, under which headings. Painting it on pages is SpeedDialPages' work.
namespace SpeedDialList {

// The columns a list can have, in the order printed. The slot number is always printed:
// a list without it tells nobody what to dial.
enum Column { Slot = 0, Name, Kana, Phone, Group, ColumnCount };

enum class Order {
    List, // the entry list's current order
    Slot, // by slot number
    Kana, // by kana reading, as the entry list sorts that column
};

struct Options {
    Order order = Order::List;
    bool filledOnly = true; // only registered entries; otherwise every slot
    std::array<bool, ColumnCount> columns{true, true, true, true, true};
    QDate date; // printed in the title
};

// What the pages show, as texts.
struct Content {
    QString title;                      // "短縮ダイヤル一覧"
    QString customer;                   // the customer's name and number
    QString date;                       // "作成日：2026年12月10日"
    QStringList headers;                // the chosen columns' captions
    std::vector<QStringList> rows;      // one per printed entry, the chosen columns' texts
    QString groupTitle;                 // "グループ一覧"
    QStringList groupHeaders;           // the group list's captions
    std::vector<QStringList> groupRows; // the ten group settings
};

Content build(const PhoneBook &book, const Options &options);

// The list's title, also the name of the print job and of the PDF document.
QString title();

// What an entry's group column shows: the group's name when it has one (not "登録なし"),
// otherwise the group as stored ("グループ３", "個別").
QString groupText(const PhoneBook &book, const QString &group);

// The page number at the foot of each page: "1 / 5".
QString pageNumberText(int page, int pageCount);

// The choices of the order, in the order of Order.
const QStringList &orderCaptions();

} // namespace SpeedDialList
