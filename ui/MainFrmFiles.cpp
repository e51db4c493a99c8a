// Opening and saving phone-book files.
#include "ui/MainFrm.h"

void TFormMain::O1Click() {}

TFormMain::SaveOutcome TFormMain::S1Click() { return SaveOutcome::Cancelled; }

TFormMain::SaveOutcome TFormMain::A1Click() { return SaveOutcome::Cancelled; }

void TFormMain::openPhoneBookFile(const QString &) {}

void TFormMain::dropFiles(const QStringList &) {}
