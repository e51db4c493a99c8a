#include "ui/AnalysisFrm.h"

#include "core/PhoneBook.h"
#include "formats/TextFile.h"
#include "ui/CommandGuard.h"
#include "ui/FileChoices.h"
#include "ui/SplushFrm.h"
#include "ui/TextDlgs.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int TextMargin = 4;

const QString ReportPurpose = QStringLiteral("report");

// The registered dialog of the report: the window's own dialog, which keeps the last
// folder and name between uses.
QString runSaveDialog(TExtChangeSaveDialog &dialog, const FileChoices::Request &request)
{
    if (!request.filter.isEmpty())
        dialog.Filter = request.filter;
    if (!request.caption.isEmpty())
        dialog.Title = request.caption;
    if (!request.initialName.isEmpty())
        dialog.FileName = request.initialName;
    return dialog.Execute() ? dialog.FileName : QString();
}

} // namespace

TReportMemo::TReportMemo(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
}

void TReportMemo::setPlainText(const QString &text)
{
    lines_ = splitLines(text);
    allSelected_ = false;
    measure();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QString TReportMemo::toPlainText() const
{
    return lines_.join(u'\n');
}

void TReportMemo::measure()
{
    // Most lines of a report are one of nine messages: each text is measured once. The
    // rest (the label lines) are summed from the advances of their characters, which is
    // close enough for the reach of the scroll bar and much faster than shaping each.
    const QFontMetrics metrics(font());
    QHash<QString, int> lineWidths;
    QHash<char16_t, int> charWidths;
    textWidth_ = 0;
    for (const QString &line : std::as_const(lines_)) {
        auto known = lineWidths.constFind(line);
        int width = 0;
        if (known != lineWidths.constEnd()) {
            width = *known;
        } else if (lineWidths.size() < 64) {
            width = metrics.horizontalAdvance(line);
            lineWidths.insert(line, width);
        } else {
            for (const QChar c : line) {
                auto advance = charWidths.constFind(c.unicode());
                if (advance == charWidths.constEnd())
                    advance = charWidths.insert(c.unicode(), metrics.horizontalAdvance(c));
                width += *advance;
            }
        }
        textWidth_ = qMax(textWidth_, width);
    }
    updateScrollBars();
}

int TReportMemo::visibleLines() const
{
    return qMax(1, viewport()->height() / fontMetrics().lineSpacing());
}

void TReportMemo::updateScrollBars()
{
    const int page = visibleLines();
    verticalScrollBar()->setRange(0, qMax(0, static_cast<int>(lines_.size()) - page));
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setSingleStep(1);
    const int width = viewport()->width();
    horizontalScrollBar()->setRange(0, qMax(0, textWidth_ + 2 * TextMargin - width));
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setSingleStep(qMax(1, fontMetrics().averageCharWidth() * 2));
}

void TReportMemo::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.lineSpacing();
    const int first = verticalScrollBar()->value();
    const int last = qMin(static_cast<int>(lines_.size()), first + visibleLines() + 1);
    const int x = TextMargin - horizontalScrollBar()->value();
    if (allSelected_) {
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
    } else {
        painter.setPen(palette().color(QPalette::Text));
    }
    for (int i = first; i < last; ++i)
        painter.drawText(x, (i - first) * lineHeight + metrics.ascent(), lines_.at(i));
}

void TReportMemo::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TReportMemo::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        measure();
}

void TReportMemo::selectAll()
{
    allSelected_ = !lines_.isEmpty();
    viewport()->update();
}

void TReportMemo::copy() const
{
    if (allSelected_)
        QApplication::clipboard()->setText(toPlainText());
}

void TReportMemo::mousePressEvent(QMouseEvent *event)
{
    if (allSelected_) {
        allSelected_ = false;
        viewport()->update();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TReportMemo::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        vertical->setValue(vertical->minimum());
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        vertical->setValue(vertical->maximum());
    } else if (event->key() == Qt::Key_Home) {
        horizontal->setValue(horizontal->minimum());
    } else if (event->key() == Qt::Key_End) {
        horizontal->setValue(horizontal->maximum());
    } else if (event->key() == Qt::Key_Up) {
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (event->key() == Qt::Key_Down) {
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (event->key() == Qt::Key_PageUp) {
        vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->key() == Qt::Key_PageDown) {
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->key() == Qt::Key_Left) {
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (event->key() == Qt::Key_Right) {
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

TFormAnalysis::TFormAnalysis(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormAnalysis"));
    resize(520, 420);

    Memo1 = new TReportMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));

    BtnSave = new QPushButton(this);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnClose = new QPushButton(this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    connect(BtnSave, &QPushButton::clicked, this, [this] { runGuarded([this] { BtnSaveClick(); }); });
    connect(BtnClose, &QPushButton::clicked, this, [this] { BtnCloseClick(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);

    FormCreate();

    FileChoices::registerDialog(
        ReportPurpose, [window = QPointer<TFormAnalysis>(this)](QWidget *parent, const FileChoices::Request &request) {
            // There are two report windows (the analysis, the number check): each saves
            // through its own dialog, with its own last folder and name.
            if (auto *asking = qobject_cast<TFormAnalysis *>(parent))
                return runSaveDialog(*asking->SaveDialog(), request);
            if (window)
                return runSaveDialog(*window->SaveDialog(), request);
            // The window is gone (the program is ending): a dialog of its own kind.
            TExtChangeSaveDialog fallback(parent);
            fallback.Options = TExtChangeOpenDialog::ofOverwritePrompt | TExtChangeOpenDialog::ofEnableSizing;
            return runSaveDialog(fallback, request);
        });
}

void TFormAnalysis::FormCreate()
{
    setWindowTitle(QStringLiteral("レポート"));
    BtnSave->setText(QStringLiteral("テキスト保存"));
    BtnClose->setText(QStringLiteral("閉じる"));
}

TExtChangeSaveDialog *TFormAnalysis::SaveDialog()
{
    if (!saveDialog_) {
        saveDialog_ = new TExtChangeSaveDialog(this);
        saveDialog_->Options = TExtChangeOpenDialog::ofOverwritePrompt | TExtChangeOpenDialog::ofEnableSizing;
        saveDialog_->setShowPlacesBar(true);
        saveDialog_->Filter = reportFilter();
    }
    return saveDialog_;
}

QString TFormAnalysis::reportFilter()
{
    return QStringLiteral("TXTファイル|*.txt");
}

void TFormAnalysis::setReport(const QString &text)
{
    ReportText = text;
    Memo1->setPlainText(text);
}

void TFormAnalysis::showReport()
{
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TFormAnalysis::BtnSaveClick()
{
    const QString path = FileChoices::current().choose(this, {ReportPurpose, QString(), reportFilter(), QString()});
    if (path.isEmpty())
        return;
    writeText(path, ReportText);
}

void TFormAnalysis::BtnCloseClick()
{
    close();
}

QString TFormAnalysis::progressDetail(int position)
{
    return QStringLiteral("短縮") + PhoneBook::slotNumber(position) + QStringLiteral("解析中...");
}

std::function<void(int)> TFormAnalysis::progressOn(TFormSplush *splush)
{
    if (!splush)
        return {};
    // The detail line moves with the gauge's percentage: a new text and layout for each
    // of 4000 entries would cost several times the analysis itself, and no display shows
    // more than the bar does.
    return [splush, shownPercent = -1](int position) mutable {
        splush->setPosition(position + 1);
        const int percent = splush->Gauge1->percentDone();
        if (percent == shownPercent)
            return;
        shownPercent = percent;
        splush->setDetail(progressDetail(position));
    };
}
