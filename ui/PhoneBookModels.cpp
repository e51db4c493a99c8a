#include "ui/PhoneBookModels.h"

EntryListModel::EntryListModel(const PhoneBookDocument &document, QObject *parent)
    : QAbstractTableModel(parent), document_(document)
{
    connect(&document, &PhoneBookDocument::entriesChanged, this,
            [this](int first, int last) { emit dataChanged(index(first, 0), index(last, columnCount() - 1)); });
    connect(&document, &PhoneBookDocument::entriesAboutToBeReset, this, &EntryListModel::beginResetModel);
    connect(&document, &PhoneBookDocument::entriesReset, this, &EntryListModel::endResetModel);
}

const QStringList &EntryListModel::columnCaptions()
{
    static const QStringList captions = {
        QStringLiteral("短縮No."),  QStringLiteral("名前"),     QStringLiteral("カナ"),
        QStringLiteral("電話番号"), QStringLiteral("グループ"), QStringLiteral("着信音"),
        QStringLiteral("登録実装"), QStringLiteral("着信先"),   QStringLiteral("メモ")};
    return captions;
}

const QList<int> &EntryListModel::columnWidths()
{
    static const QList<int> widths = {55, 150, 120, 100, 70, 90, 70, 70, 100};
    return widths;
}

int EntryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(book().entries.size());
}

int EntryListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columnCaptions().size());
}

const QString &EntryListModel::cellText(const DialEntry &entry, int column)
{
    return column == 0 ? entry.No : entry.field(column - 1);
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    if (role == Qt::DisplayRole)
        return cellText(book().entries[index.row()], index.column());
    return QVariant();
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columnCaptions().size())
        return columnCaptions().at(section);
    return QVariant();
}

GroupListModel::GroupListModel(const PhoneBookDocument &document, QObject *parent)
    : QAbstractTableModel(parent), document_(document)
{
    connect(&document, &PhoneBookDocument::groupChanged, this,
            [this](int group) { emit dataChanged(index(group, 0), index(group, columnCount() - 1)); });
    connect(&document, &PhoneBookDocument::groupsAboutToBeReset, this, &GroupListModel::beginResetModel);
    connect(&document, &PhoneBookDocument::groupsReset, this, &GroupListModel::endResetModel);
}

const QStringList &GroupListModel::columnCaptions()
{
    static const QStringList captions = {QStringLiteral("グループ"), QStringLiteral("名前"),
                                         QStringLiteral("着信音"),   QStringLiteral("着信ランプ"),
                                         QStringLiteral("FAX指定"),  QStringLiteral("ｺｰﾙﾊﾞｯｸ指定")};
    return captions;
}

const QList<int> &GroupListModel::columnWidths()
{
    static const QList<int> widths = {70, 80, 60, 67, 60, 85};
    return widths;
}

int GroupListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PhoneBook::GroupCount;
}

int GroupListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columnCaptions().size());
}

QVariant GroupListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= PhoneBook::GroupCount)
        return QVariant();
    const GroupSetting &group = book().groups[index.row()];
    return index.column() == 0 ? group.Label : group.field(index.column() - 1);
}

QVariant GroupListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columnCaptions().size())
        return columnCaptions().at(section);
    return QVariant();
}
