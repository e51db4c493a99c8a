// The entry editor and the group editor.
#include "ui/MainFrm.h"

void TFormMain::ListView1DblClick() {}

void TFormMain::GroupListDblClick() {}

void TFormMain::rebuildEditors() {}
