// The entry editor and the group editor.
#include "ui/EditFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"

#include <QItemSelectionModel>
#include <QTableView>

void TFormMain::ListView1DblClick()
{
    if (!FormEdit)
        return;
    const QList<int> selected = selectedPositions();
    if (selected.isEmpty())
        return;
    // With several rows selected the editor takes the first in list order.
    FormEdit->openAt(selected.first());
}

void TFormMain::GroupListDblClick()
{
    if (!FormGroupEdit)
        return;
    const QModelIndexList rows = GroupList->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    FormGroupEdit->loadGroup(rows.first().row());
    FormGroupEdit->showEditor();
}

void TFormMain::closeEditors()
{
    if (FormEdit)
        FormEdit->hide();
    if (FormGroupEdit)
        FormGroupEdit->hide();
}

void TFormMain::rebuildEditors()
{
    // Before createOtherWindows there is nothing to rebuild. An open editor closes
    // without writing anything; the new one takes its place and its name.
    if (!FormEdit)
        return;
    for (QWidget *old : std::initializer_list<QWidget *>{FormEdit, FormGroupEdit}) {
        old->hide();
        old->setObjectName(QString());
        old->deleteLater();
    }
    buildEditors();
}

void TFormMain::buildEditors()
{
    FormEdit = new TFormEdit(document_, this);
    FormEdit->setDestinationDialog(FormRt);
    connect(FormEdit, &TFormEdit::rowLeft, this, [this](int position) {
        ListView1->selectionModel()->select(EntryModel->index(position, 0),
                                            QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    });
    connect(FormEdit, &TFormEdit::rowEntered, this, &TFormMain::selectPosition);
    FormGroupEdit = new TFormGroupEdit(document_, this);
}
