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
    // The keyboard goes with it: a tool window is not activated by every window manager
    // when it appears, and the user's typing would go to the main list instead.
    editor->activateWindow();
}
