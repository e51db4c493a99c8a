#pragma once

#include "core/PhoneBook.h"

// 4000 entries with every field filled: the book the CSV export and the printed list
// are measured on.
inline PhoneBook filledBook()
{
    PhoneBook book;
    for (int i = 0; i < PhoneBook::EntryCount; ++i) {
        DialEntry &e = book.entries[i];
        e.setField(DialEntry::Name, QStringLiteral("山田太郎商事株式会社%1").arg(i));
        e.setField(DialEntry::Kana, QStringLiteral("ﾔﾏﾀﾞﾀﾛｳｼｮｳｼﾞ%1").arg(i));
        e.setField(DialEntry::Phone, QStringLiteral("03-1234-%1").arg(i, 4, 10, QLatin1Char('0')));
        e.setField(DialEntry::Group, QStringLiteral("グループ３"));
        e.setField(DialEntry::Ring, QStringLiteral("着信メロディ１"));
        e.setField(DialEntry::Extension, QStringLiteral("12"));
        e.setField(DialEntry::Destination, QStringLiteral("内線グループＣ"));
        e.setField(DialEntry::Memo, QStringLiteral("営業部第二課担当"));
    }
    return book;
}
