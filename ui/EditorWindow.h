#pragma once

class QWidget;

// Shows a non-modal editor window: centred over its owner the first time it appears,
// with the focus in its first field; an editor already on screen is brought forward.
// centred remembers whether the first placement was done.
void showEditorWindow(QWidget *editor, const QWidget *owner, QWidget *firstField, bool &centred);
