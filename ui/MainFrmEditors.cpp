// The entry editor and the group editor.
#include "ui/EditFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/MainFrm.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace {

// StopFlag is cleared however the opening ends.
struct StopFlagScope {
    explicit StopFlagScope(bool &flag) : flag_(flag) { flag_ = true; }
    ~StopFlagScope() { flag_ = false; }
    bool &flag_;
};

} // namespace

void TFormMain::ListView1DblClick()
{
    if (!FormEdit)
        return;
    const QList<int> selected = selectedPositions();
    if (selected.isEmpty())
        return;
    // With several rows selected the editor takes the first in list order.
    const int position = selected.first();
    StopFlagScope stop(StopFlag);
    // The move runs the entry check on what the editor shows; nothing is written back
    // while StopFlag is set, so unapplied edits of that entry are discarded.
    FormEdit->setUpDown1Position(position);
    FormEdit->loadEntry(position);
    FormEdit->applyModelLayout();
    FormEdit->showEditor();
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
    // Before the windows exist there is nothing to rebuild; createOtherWindows builds
    // them for the model in force. An open editor closes without writing anything.
    if (FormEdit) {
        FormEdit->hide();
        FormEdit->deleteLater();
        FormEdit = new TFormEdit(this);
    }
    if (FormGroupEdit) {
        FormGroupEdit->hide();
        FormGroupEdit->deleteLater();
        FormGroupEdit = new TFormGroupEdit(this);
    }
}
