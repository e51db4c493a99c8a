#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QPushButton;
class TExtChangeSaveDialog;
class TFormSplush;

// The read-only text of the report, shown without wrapping and with both scroll bars.
// It paints only the lines in view: a report can hold some 40000 lines, which a text
// document would take far longer to build than the analysis takes.
class TReportMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TReportMemo(QWidget *parent = nullptr);

    // Lines end at CR LF, a lone CR or a lone LF.
    void setPlainText(const QString &text);
    // The lines joined by LF.
    QString toPlainText() const;
    const QStringList &lines() const { return lines_; }
    bool isReadOnly() const { return true; }
    // The widest line in pixels.
    int textWidth() const { return textWidth_; }

    void selectAll();
    bool hasSelection() const { return allSelected_; }
    // Puts the selected text on the clipboard.
    void copy() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void measure();
    void updateScrollBars();
    int visibleLines() const;

    QStringList lines_;
    int textWidth_ = 0;
    bool allSelected_ = false;
};

// The report window of the data analysis: the report as read-only text that can be saved.
// It is created once and keeps its report until the next analysis.
class TFormAnalysis : public QWidget {
    Q_OBJECT
public:
    explicit TFormAnalysis(QWidget *parent = nullptr);

    TReportMemo *Memo1 = nullptr;
    QPushButton *BtnSave = nullptr;
    QPushButton *BtnClose = nullptr;
    // The save dialog, built the first time it is needed (building Qt's file dialog is
    // the dearest part of the start-up) and kept from then on with its last folder and name.
    TExtChangeSaveDialog *SaveDialog();

    // The report exactly as it is saved: lines ended by CR LF, or the no-problems text.
    const QString &report() const { return ReportText; }
    void setReport(const QString &text);
    // Shows the window, or brings it to the front when it is open.
    void showReport();

    void BtnSaveClick();
    void BtnCloseClick();

    // The progress of an analysis on the progress window: the gauge moves to the next
    // step, and the detail line names the position under test whenever the gauge's
    // percentage changes.
    static std::function<void(int position)> progressOn(TFormSplush *splush);
    static QString progressDetail(int position);

    static QString reportFilter(); // "TXTファイル|*.txt"

private:
    void FormCreate();

    QString ReportText;
    TExtChangeSaveDialog *saveDialog_ = nullptr;
};
