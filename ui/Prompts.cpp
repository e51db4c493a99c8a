#include "ui/Prompts.h"

#include "core/LineBreaks.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStyle>

namespace {

Prompts *installed = nullptr;
QPointer<QWidget> parentWindow;

QString title() { return QStringLiteral("Dalvino"); }

// The widest line of a box's text. Qt wraps the text by itself, anywhere between two
// Japanese characters, once the box would grow wider than half the screen (500 pixels at
// most); lines broken at phrases beforehand stay under that, picture and margins aside.
int lineWidth(const QMessageBox &box)
{
    const int boxWidth = qMin(box.screen()->availableGeometry().width() / 2, 500);
    return boxWidth - 2 * box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box) - 40;
}

// The box belongs to the window the user is working in: a modal dialog (the file
// chooser asking before it replaces a file) or the active window (an editor reporting a
// rule its field breaks). It then opens over that window, and when it closes the
// window manager gives the keyboard back to that window, not to the main window.
QWidget *owner()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *active = QApplication::activeWindow();
    if (active && active->isVisible())
        return active;
    return parentWindow;
}

QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons buttons)
{
    QWidget *parent = owner();
    QMessageBox box(icon, title(), QString(), buttons, parent);
    // A file name is shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(box.font());
    const auto width = [&](const QString &piece) { return metrics.horizontalAdvance(piece); };
    box.setText(breakIntoLines(text, lineWidth(box), width).join(u'\n'));
    // Over a window that stays on top (the file chooser) the box must stay on top too,
    // or it opens underneath and the window looks frozen.
    if (parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    // The keyboard goes back to that window. Left to itself, a window manager may hand it
    // to the main window instead (openbox does, after a box over a tool window), and the
    // user's next keys would act on the main list.
    if (parent && parent->isVisible())
        parent->activateWindow();
    return answer;
}

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
    ask(QMessageBox::Information, text, QMessageBox::Ok);
}

void MessageBoxPrompts::warning(const QString &text, bool yesButton)
{
    ask(QMessageBox::Warning, text, yesButton ? QMessageBox::Yes : QMessageBox::Ok);
}

void MessageBoxPrompts::error(const QString &text)
{
    ask(QMessageBox::Critical, text, QMessageBox::Ok);
}

bool MessageBoxPrompts::confirm(const QString &text)
{
    return ask(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool MessageBoxPrompts::confirmWarning(const QString &text)
{
    return ask(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Prompts::Answer MessageBoxPrompts::confirmWithCancel(const QString &text)
{
    const auto answer = ask(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return Answer::Yes;
    if (answer == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}
