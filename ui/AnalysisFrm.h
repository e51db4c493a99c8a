#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class TExtChangeSaveDialog;
class TFormSplush;

// The report window of the data analysis: the report as read-only text that can be saved.
// It is created once and keeps its report until the next analysis.
class TFormAnalysis : public QWidget {
    Q_OBJECT
public:
    explicit TFormAnalysis(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *BtnSave = nullptr;
    QPushButton *BtnClose = nullptr;
    TExtChangeSaveDialog *SaveDialog = nullptr;

    // The report exactly as it is saved: lines ended by CR LF, or the no-problems text.
    const QString &report() const { return ReportText; }
    void setReport(const QString &text);
    // Shows the window, or brings it to the front when it is open.
    void showReport();

    void BtnSaveClick();
    void BtnCloseClick();

    // The progress of an analysis on the progress window: the detail line names the
    // position under test and the gauge moves to the next step.
    static std::function<void(int position)> progressOn(TFormSplush *splush);
    static QString progressDetail(int position);

    static QString reportFilter(); // "TXTファイル|*.txt"

private:
    void FormCreate();

    QString ReportText;
};
