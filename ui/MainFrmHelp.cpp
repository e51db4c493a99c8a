// The help window and the version dialog.
#include "ui/HelpFrm.h"
#include "ui/MainFrm.h"
#include "ui/VerFrm.h"

void TFormMain::H2Click()
{
    if (FormHelp)
        FormHelp->showWindow();
}

void TFormMain::V1Click()
{
    if (VerForm)
        VerForm->exec();
}
