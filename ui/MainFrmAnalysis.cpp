// The data analysis report.
#include "ui/MainFrm.h"

void TFormMain::ToolButton6Click() {}
