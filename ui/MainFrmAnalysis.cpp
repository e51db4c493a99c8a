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

    QString report;
    {
        const ProgressScope progress(Splush, QStringLiteral("データ解析中..."), PhoneBook::EntryCount);
        report = analysisReport(book(), TFormAnalysis::progressOn(Splush));
    }

    if (!FormAnalysis)
        FormAnalysis = new TFormAnalysis(this);
    FormAnalysis->setReport(report);
    FormAnalysis->showReport();
}
