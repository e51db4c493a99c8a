// The printed speed-dial list.
#include "ui/MainFrm.h"
#include "ui/PrintFrm.h"

void TFormMain::P1Click()
{
    TFormPrint dialog(document_, this);
    dialog.exec();
}
