// Qt's own dialogs and texts as the program sets them up: Japanese, in a font that tells
// full width from half width, over the window the user works in.
#include "TestPaths.h"

#include "formats/AppPaths.h"
#include "ui/FileChoices.h"
#include "ui/Prompts.h"
#include "ui/Startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

namespace {

// Calls inspect on the next modal window of type T once it is on screen (from the event
// loop that runs while it waits), then closes it.
template <typename T> void onNextModal(QObject *context, std::function<void(T *)> inspect)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, inspect] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        inspect(window);
        if (window->isVisible())
            window->reject();
    });
    timer->start(20);
}

// A caption without its access key and shortcut: "元に戻す(&U)\tCtrl+Z" reads 元に戻す.
QString shown(QString caption)
{
    caption = caption.section(u'\t', 0, 0);
    return caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)"))).remove(u'&');
}

bool hasLatinLetters(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

} // namespace

class TestStandardDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void fullWidthLooksFullWidth();
    void messageBoxButtons_data();
    void messageBoxButtons();
    void textFieldMenu();
    void openDialogSpeaksJapaneseAndKeepsItsFolder();
    void boxBelongsToTheWindowAtWork();
    void longQuestionBreaksBetweenPhrases();
};

void TestStandardDialogs::initTestCase()
{
    useProgramLook();
}

void TestStandardDialogs::fullWidthLooksFullWidth()
{
    // ＡＢＣ商事 must not look like ABC商事, nor グループ０ like グループ0.
    const QFontMetricsF metrics(QApplication::font());
    const qreal kanji = metrics.horizontalAdvance(QStringLiteral("商"));
    const std::pair<QString, QString> pairs[] = {{QStringLiteral("Ａ"), QStringLiteral("A")},
                                                 {QStringLiteral("０"), QStringLiteral("0")},
                                                 {QStringLiteral("カ"), QStringLiteral("ｶ")}};
    for (const auto &[full, half] : pairs) {
        QCOMPARE(metrics.horizontalAdvance(full), kanji);
        QVERIFY2(metrics.horizontalAdvance(full) >= 1.5 * metrics.horizontalAdvance(half), qPrintable(full));
    }
}

void TestStandardDialogs::messageBoxButtons_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("information") << 0 << QStringList{"OK"};
    QTest::newRow("confirmation") << 1 << QStringList{"はい", "いいえ"};
    QTest::newRow("with cancel") << 2 << QStringList{"はい", "いいえ", "キャンセル"};
}

void TestStandardDialogs::messageBoxButtons()
{
    QFETCH(int, kind);
    QFETCH(QStringList, buttons);
    QStringList seen;
    onNextModal<QMessageBox>(this, [&](QMessageBox *box) {
        for (const QAbstractButton *button : box->buttons())
            seen << shown(button->text());
    });
    MessageBoxPrompts boxes;
    if (kind == 0)
        boxes.information(QStringLiteral("保存しました"));
    else if (kind == 1)
        boxes.confirm(QStringLiteral("よろしいですか？"));
    else
        boxes.confirmWithCancel(QStringLiteral("保存しますか？"));
    seen.sort();
    buttons.sort();
    QCOMPARE(seen, buttons);
}

void TestStandardDialogs::textFieldMenu()
{
    QLineEdit field;
    field.setText(QStringLiteral("山田"));
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    int items = 0;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        ++items;
        QVERIFY2(!hasLatinLetters(shown(action->text())), qPrintable(action->text()));
    }
    QVERIFY(items >= 6); // undo, redo, cut, copy, paste, delete, select all
}

void TestStandardDialogs::openDialogSpeaksJapaneseAndKeepsItsFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("お客様"));
    QVERIFY(QDir().mkdir(folder));
    QFile book(folder + QStringLiteral("/本社.leg"));
    QVERIFY(book.open(QIODevice::WriteOnly));
    book.close();
    QWidget owner;
    const FileChoices::Request open{QStringLiteral("open"), QStringLiteral("開く"),
                                    QStringLiteral("電話帳ファイル|*.csv;*.leg"), QString()};

    QStringList texts;
    QStringList cut; // columns and places narrower than their texts
    onNextModal<QFileDialog>(this, [&](QFileDialog *dialog) {
        auto *details = dialog->findChild<QTreeView *>();
        dialog->setDirectory(dir.path());
        QVERIFY(QTest::qWaitFor([&] { return details->model()->rowCount(details->rootIndex()) > 0; }));
        for (const char *name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            texts << dialog->findChild<QLabel *>(QLatin1String(name))->text();
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            texts << button->text();
        const QHeaderView *header = details->header();
        for (int column = 0; column < header->count(); ++column) {
            texts << header->model()->headerData(column, Qt::Horizontal).toString();
            if (column == 2) // the type of the folder
                texts << details->model()->index(0, column, details->rootIndex()).data().toString();
        }
        const auto narrowColumns = [&] {
            QStringList narrow;
            for (int column = 1; column < header->count(); ++column) {
                int needed = header->sectionSizeHint(column);
                for (int row = 0; row < details->model()->rowCount(details->rootIndex()); ++row) {
                    const QModelIndex item = details->model()->index(row, column, details->rootIndex());
                    needed = std::max(needed, details->itemDelegate()->sizeHint(QStyleOptionViewItem(), item).width());
                }
                if (header->sectionSize(column) < needed)
                    narrow << header->model()->headerData(column, Qt::Horizontal).toString();
            }
            return narrow;
        };
        // The columns follow their contents after a short delay, longer on a busy machine.
        QTest::qWaitFor([&] { return narrowColumns().isEmpty(); }, 3000);
        cut << narrowColumns();
        const auto *places = dialog->findChild<QListView *>(QStringLiteral("sidebar"));
        if (places->viewport()->width() < places->sizeHintForColumn(0))
            cut << QStringLiteral("places");
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(folder + QStringLiteral("/本社.leg"));
        static_cast<QDialog *>(dialog)->accept(); // as the Open button does
    });
    QCOMPARE(FileChoices::current().choose(&owner, open), folder + QStringLiteral("/本社.leg"));
    QVERIFY(!texts.isEmpty());
    for (const QString &text : std::as_const(texts))
        QVERIFY2(!hasLatinLetters(shown(text)), qPrintable(text));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u' ')));

    // The next use starts where the last one ended.
    QString startedIn;
    onNextModal<QFileDialog>(this, [&](QFileDialog *dialog) { startedIn = dialog->directory().absolutePath(); });
    QVERIFY(FileChoices::current().choose(&owner, open).isEmpty());
    QCOMPARE(startedIn, folder);
}

void TestStandardDialogs::boxBelongsToTheWindowAtWork()
{
    MessageBoxPrompts boxes;
    QWidget main;
    Prompts::setParentWindow(&main);

    // A modal dialog that stays on top, as the file chooser does: its question opens over
    // it, also on top; a file name shows as it is, never as markup.
    QDialog chooser;
    chooser.setWindowFlag(Qt::WindowStaysOnTopHint);
    QWidget *owner = nullptr;
    bool onTop = false;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, &chooser, [&] {
        onNextModal<QMessageBox>(this, [&](QMessageBox *box) {
            owner = box->parentWidget();
            onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            format = box->textFormat();
        });
        boxes.confirmWarning(QStringLiteral("/d/<b>a</b>.csvは既に存在します。\r\n上書きしますか？"));
        chooser.reject();
    });
    chooser.exec();
    QCOMPARE(owner, &chooser);
    QVERIFY(onTop);
    QCOMPARE(format, Qt::PlainText);

    // A window that is not modal, as the editors are: the box belongs to it when it is
    // the window the user works in.
    QWidget editor(&main, Qt::Tool);
    editor.show();
    editor.activateWindow();
    QTRY_VERIFY(editor.isActiveWindow());
    owner = nullptr;
    onNextModal<QMessageBox>(this, [&](QMessageBox *box) { owner = box->parentWidget(); });
    boxes.information(QStringLiteral("名前に半角文字が存在している可能性があります"));
    QCOMPARE(owner, &editor);
    Prompts::setParentWindow(nullptr);
}

void TestStandardDialogs::longQuestionBreaksBetweenPhrases()
{
    const QString question = QStringLiteral(
        "[/home/dealer/お客様/株式会社丸山工業/電話帳データ/本社.leg]は変更されています。保存しますか？");
    QStringList lines;
    bool wrappedByQt = true;
    onNextModal<QMessageBox>(this, [&](QMessageBox *box) {
        lines = box->text().split(u'\n');
        for (const QLabel *label : box->findChildren<QLabel *>()) {
            if (label->text() == box->text())
                wrappedByQt = label->wordWrap();
        }
    });
    MessageBoxPrompts().confirm(question);
    QVERIFY(lines.size() > 1);
    QCOMPARE(lines.join(QString()), question);
    for (const QString &phrase : {QStringLiteral("変更されています。"), QStringLiteral("保存しますか？")}) {
        bool whole = false;
        for (const QString &line : std::as_const(lines))
            whole = whole || line.contains(phrase);
        QVERIFY2(whole, qPrintable(lines.join(u'|')));
    }
    QVERIFY(!wrappedByQt);
}

QTEST_MAIN(TestStandardDialogs)
#include "tst_standarddialogs.moc"
