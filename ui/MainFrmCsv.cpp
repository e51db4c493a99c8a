// CSV export, the mapped import and the legacy CSV files.
#include "ui/MainFrm.h"

void TFormMain::I1Click() {}

void TFormMain::csvC1Click() {}

void TFormMain::openLegacyCsv(const QString &) {}
