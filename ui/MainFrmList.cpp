// List operations of the entry list and the search window.
#include "core/ListOperations.h"
#include "ui/FindFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"
#include "ui/Prompts.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>

// Sets one field of every selected entry to the caption of the chosen menu item, after
// the question; the document is modified only where a value really changed.
void TFormMain::bulkChange(int field, const QString &question, const QAction *item)
{
    if (!item)
        return;
    const QList<int> positions = selectedPositions();
    if (positions.isEmpty())
        return;
    const QString value = item->text();
    if (!Prompts::current().confirm(question + value + QStringLiteral("」に変更します。よろしいですか？")))
        return;
    document_.changeField(positions, field, value);
}

void TFormMain::ListView1ColumnClick(int column)
{
    // The selection and the focus mark stay with their entries.
    const QList<int> selected = selectedPositions();
    const int focused = focusedPosition();

    const std::vector<int> order = document_.sortByColumn(column);

    std::vector<int> newPosition(order.size());
    for (int now = 0; now < static_cast<int>(order.size()); ++now)
        newPosition[order[now]] = now;
    QItemSelection selection;
    for (int old : selected) {
        const QModelIndex index = EntryModel->index(newPosition[old], 0);
        selection.select(index, index);
    }
    QItemSelectionModel *model = ListView1->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (focused >= 0)
        model->setCurrentIndex(EntryModel->index(newPosition[focused], 0), QItemSelectionModel::NoUpdate);
}

void TFormMain::N4Click()
{
    const QList<int> positions = selectedPositions();
    if (positions.isEmpty())
        return;
    if (!Prompts::current().confirm(QStringLiteral("現在選択されているデータをクリアします。よろしいですか？")))
        return;
    // Clearing counts as a change even for a row that was already empty.
    document_.clearEntries(positions);
}

void TFormMain::N11Click(int groupIndex)
{
    bulkChange(DialEntry::Group, QStringLiteral("現在選択されているデータのグループを「"),
               GroupItems.value(groupIndex));
}

void TFormMain::N22Click(int ringIndex)
{
    // The item's caption follows the model's ring-tone vocabulary; that text is stored.
    bulkChange(DialEntry::Ring, QStringLiteral("現在選択されているデータの着信音を「"), RingItems.value(ringIndex));
}

void TFormMain::N012Click(int extensionIndex)
{
    bulkChange(DialEntry::Extension, QStringLiteral("現在選択されているデータの登録実装を「"),
               ExtensionItems.value(extensionIndex));
}

void TFormMain::jumpToPosition(int position)
{
    if (position < 0 || position >= EntryModel->rowCount())
        return;
    QItemSelectionModel *model = ListView1->selectionModel();
    const QList<int> selected = selectedPositions();
    if (!selected.isEmpty())
        model->select(EntryModel->index(selected.first(), 0),
                      QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    const QModelIndex index = EntryModel->index(position, 0);
    model->setCurrentIndex(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ListView1->scrollTo(index);
    ListView1->setFocus();
}

void TFormMain::BtnSpaceFindClick()
{
    const int position = ListOperations::findFreeSlot(book());
    if (position < 0) {
        Prompts::current().information(QStringLiteral("空き短縮はありません"));
        return;
    }
    jumpToPosition(position);
}

void TFormMain::Z1Click()
{
    if (FormFind)
        FormFind->exec();
}
