#include "ui/Prompts.h"

#include <QMessageBox>
#include <QPointer>

namespace {

Prompts *installed = nullptr;
QPointer<QWidget> parentWindow;

QString title() { return QStringLiteral("Dalvino"); }

} // namespace

Prompts &Prompts::current()
{
    static MessageBoxPrompts boxes;
    return installed ? *installed : boxes;
}

void Prompts::install(Prompts *p) { installed = p; }

void Prompts::setParentWindow(QWidget *parent) { parentWindow = parent; }

void MessageBoxPrompts::information(const QString &text)
{
    QMessageBox::information(parentWindow, title(), text);
}

void MessageBoxPrompts::warning(const QString &text, bool yesButton)
{
    QMessageBox::warning(parentWindow, title(), text, yesButton ? QMessageBox::Yes : QMessageBox::Ok);
}

void MessageBoxPrompts::error(const QString &text) { QMessageBox::critical(parentWindow, title(), text); }

bool MessageBoxPrompts::confirm(const QString &text)
{
    return QMessageBox::question(parentWindow, title(), text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool MessageBoxPrompts::confirmWarning(const QString &text)
{
    return QMessageBox::warning(parentWindow, title(), text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Prompts::Answer MessageBoxPrompts::confirmWithCancel(const QString &text)
{
    const auto answer = QMessageBox::question(parentWindow, title(), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return Answer::Yes;
    if (answer == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}
