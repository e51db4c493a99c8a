// The data analysis report.
#include "ui/MainFrm.h"

#include "core/Analysis.h"
#include "ui/AnalysisFrm.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

void TFormMain::ToolButton6Click()
{
    if (!Prompts::current().confirm(QStringLiteral("データの解析には時間がかかる場合があります。実行しますか？")))
        return;

    if (Splush) {
        Splush->setPosition(0);
        Splush->setMaximum(PhoneBook::EntryCount);
        Splush->setTitle(QStringLiteral("データ解析中..."));
        Splush->showNow();
    }
    const QString report = analysisReport(Book, TFormAnalysis::progressOn(Splush));
    if (Splush) {
        Splush->hide();
        Splush->setDetail(TFormSplush::defaultDetail());
    }

    if (!FormAnalysis)
        FormAnalysis = new TFormAnalysis(this);
    FormAnalysis->setReport(report);
    FormAnalysis->showReport();
}
