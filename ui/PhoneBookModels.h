#pragma once

#include "ui/PhoneBookDocument.h"

#include <QAbstractTableModel>
#include <QStringList>

// The entry list: one row per entry in the phone book's order, the slot number first,
// then the eight fields. The model reads the document's phone book, never a copy, and
// follows the document's signals.
class EntryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit EntryListModel(const PhoneBookDocument &document, QObject *parent = nullptr);

    static const QStringList &columnCaptions();
    static const QList<int> &columnWidths();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of a cell: column 0 is the slot number, column c the field c - 1.
    static const QString &cellText(const DialEntry &entry, int column);

private:
    const PhoneBook &book() const { return document_.book(); }

    const PhoneBookDocument &document_;
};

// The group list: one row per group, the label first, then the five fields.
class GroupListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GroupListModel(const PhoneBookDocument &document, QObject *parent = nullptr);

    static const QStringList &columnCaptions();
    static const QList<int> &columnWidths();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const PhoneBook &book() const { return document_.book(); }

    const PhoneBookDocument &document_;
};
