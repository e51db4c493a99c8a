// The number and duplicate check and the bulk number form.
#include "core/NumberLint.h"
#include "ui/AnalysisFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneFormatFrm.h"
#include "ui/Prompts.h"

void TFormMain::L1Click()
{
    // Its own window, so that the data analysis's report stays where it is.
    if (!FormLint) {
        FormLint = new TFormAnalysis(this);
        FormLint->setObjectName(QStringLiteral("FormLint"));
        FormLint->setWindowTitle(QStringLiteral("番号と重複のチェック"));
    }
    FormLint->setReport(numberLintReport(book()));
    FormLint->showReport();
}

void TFormMain::N5Click()
{
    const PhoneFormatPlan plan = planPhoneFormatting(book(), selectedPositions());
    if (plan.changes.isEmpty() && plan.unrecognised.isEmpty()) {
        Prompts::current().information(QStringLiteral("書式を変える番号はありません"));
        return;
    }
    if (!FormPhoneFormat)
        FormPhoneFormat = new TFormPhoneFormat(this);
    if (FormPhoneFormat->ask(phoneFormatPreview(book(), plan), !plan.changes.isEmpty()))
        document_.reformatPhones(plan.changes); // one step of the history
}
