#pragma once

#include "formats/MemoryStatus.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

// The version dialog: product, version and the machine's physical memory, refreshed
// every 500 ms while the dialog is open.
class TVerForm : public QDialog {
    Q_OBJECT
public:
    // memory asks the system for its memory status; tests give their own.
    explicit TVerForm(QWidget *parent = nullptr, std::function<MemoryStatus()> memory = readMemoryStatus);

    QLabel *Image1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label4;
    QLabel *Label5;
    QPushButton *Button1;
    QTimer *Timer1;

    void FormShow();
    void Timer1Timer();
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showMemory();

    std::function<MemoryStatus()> memory_;
};
