// List operations of the entry list and the search window.
#include "ui/MainFrm.h"

void TFormMain::ListView1ColumnClick(int) {}

void TFormMain::N4Click() {}

void TFormMain::N11Click(int) {}

void TFormMain::N22Click(int) {}

void TFormMain::N012Click(int) {}

void TFormMain::BtnSpaceFindClick() {}

void TFormMain::Z1Click() {}
