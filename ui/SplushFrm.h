#pragma once

#include <QLabel>
#include <QWidget>
#include <functional>

// The gauge of the progress window: a blue bar on white with "%d%%" centred on it.
// It repaints only when the whole-number percentage changes.
class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget *parent = nullptr);

    int MaxValue() const { return maxValue_; }
    int Progress() const { return progress_; }
    void setMaxValue(int maxValue);
    void setProgress(int position);
    // Position × 100 / maximum, rounded down; 0 when the maximum is 0.
    int percentDone() const;
    int repaintCount() const { return repaints_; }

    static int percentOf(int position, int maximum);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void repaintIfPercentChanged(int oldPercent);

    int maxValue_ = 4000;
    int progress_ = 0;
    int repaints_ = 0;
};

// The progress window shown at start-up and by every long command.
class TFormSplush : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplush(QWidget *parent = nullptr);

    QLabel *Label1; // title line
    QLabel *Label2; // detail line
    TGauge *Gauge1;

    void setTitle(const QString &text);
    void setDetail(const QString &text);
    // Shows the window and paints it at once.
    void showNow();
    void setPosition(int position) { Gauge1->setProgress(position); }
    void setMaximum(int maximum) { Gauge1->setMaxValue(maximum); }
    // A callback that advances the gauge, for work done in core/ and formats/.
    std::function<void(int)> progressCallback();

    static QString defaultDetail(); // "しばらくお待ちください"

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The progress window for one piece of long work: shown from the start with a title,
// an empty gauge and its maximum, and hidden with its detail line put back however the
// work ends, also when it throws. Without a window it does nothing.
class ProgressScope {
public:
    ProgressScope(TFormSplush *splush, const QString &title, int maximum);
    ~ProgressScope();
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

    // The next phase of the same work under another title; the gauge stays.
    void retitle(const QString &title);

private:
    TFormSplush *splush_;
};
