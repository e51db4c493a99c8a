// The help window and the version dialog.
#include "ui/MainFrm.h"

void TFormMain::H2Click() {}

void TFormMain::V1Click() {}
