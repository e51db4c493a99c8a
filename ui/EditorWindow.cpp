#include "ui/EditorWindow.h"

#include <QWidget>

void showEditorWindow(QWidget *editor, const QWidget *owner, QWidget *firstField, bool &centred)
{
    if (!editor->isHidden()) {
        editor->raise();
        editor->activateWindow();
        return;
    }
    if (!centred && owner) {
        editor->adjustSize();
        editor->move(owner->frameGeometry().center() - editor->rect().center());
        centred = true;
    }
    editor->show();
    firstField->setFocus(); // FormShow
    // The keyboard goes with it: not every window manager activates a window that appears
    // over the active one, and the user's typing would go to the main list instead.
    editor->activateWindow();
}
