#pragma once

#include "core/PhoneBook.h"

#include <QAbstractTableModel>
#include <QStringList>

// The entry list: one row per entry in the phone book's order, the slot number first,
// then the eight fields. The model reads the one PhoneBook; it never holds a copy.
class EntryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit EntryListModel(PhoneBook &book, QObject *parent = nullptr);

    static const QStringList &columnCaptions();
    static const QList<int> &columnWidths();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of a cell: column 0 is the slot number, column c the field c - 1.
    static const QString &cellText(const DialEntry &entry, int column);

    void refreshAll();          // after New, a load, a sort: everything is redrawn once
    void refreshRow(int position);
    void refreshRows(const QList<int> &positions);

private:
    PhoneBook &book_;
};

// The group list: one row per group, the label first, then the five fields.
class GroupListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GroupListModel(PhoneBook &book, QObject *parent = nullptr);

    static const QStringList &columnCaptions();
    static const QList<int> &columnWidths();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void refreshAll();
    void refreshRow(int group);

private:
    PhoneBook &book_;
};
