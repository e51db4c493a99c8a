#pragma once

#include "core/PhoneBook.h"

#include <QString>
#include <QStringList>

// The phone system's XML phone book. The layout is fixed line by line: the reader finds
// values by line positions, so the writer's lines, tabs and element order are the format.

// The text of a phone book under its current model, every line ended by CR LF, and the
// messages about entries that are not written, in the order they are to be shown (before
// the file is stored).
struct XmlPhoneBookText {
    QString text;
    QStringList notices;

    QStringList lines() const;
};

// Throws DalvinoError (conversion error) when an entry of group "個別" among the walked
// positions has an extension that is not a number, for the models that compare it.
XmlPhoneBookText buildXmlPhoneBook(const PhoneBook &book);

// What a read gives. The reader never touches the document: it fills a fresh phone book
// that the caller commits only when the read was accepted.
struct XmlReadOutcome {
    bool accepted = false;
    QString rejection; // why the file is not a phone book, when not accepted
    PhoneBook book;    // the phone book read; FileName is left for the caller
    int count = 0;     // entry records read
    int skipped = 0;   // records passed over because they do not fit the phone book

    // The messages to show after an accepted read: the count, then the skipped records.
    QStringList messages() const;
};

// The text of a phone-book file's bytes: code page 932 as the phone system writes it,
// or UTF-8 for a file an editor saved again as UTF-8, with or without a byte-order mark.
QString decodePhoneBookFile(const QByteArray &bytes);

// Reads the lines of a phone-book file. current gives what a file may leave as it was (the
// MAC address when the file has none, the recorded model when the file names none).
// extensionIsLeg: the file came through the converter from a .leg file.
// Throws DalvinoError (conversion error) where a number is not a number; nothing is
// changed then either.
XmlReadOutcome readXmlPhoneBook(const QStringList &lines, const PhoneBook &current, bool extensionIsLeg);
// The same on the decoded text of a file, split at CR LF, lone CR and lone LF.
XmlReadOutcome readXmlPhoneBookText(const QString &text, const PhoneBook &current, bool extensionIsLeg);

QString notPhoneBookText();              // "Brisantの電話帳データではありません"
QString incompleteText();                // a file cut short: no closing SpeedDial line
QString entryCountText(int count);       // "N件のデータが登録されています"
QString skippedRecordsText(int skipped); // the notice about records passed over

// Kana escaping of the writer and its reverse of the reader.
QString escapeKana(const QString &kana);
QString unescapeKana(QStringView kana);
