// The windows on a real desktop: an X server with the openbox window manager, real keys
// and clicks sent through the server (xdotool). Run by run-under-openbox.sh.
#include "MainWindowParts.h"
#include "formats/AppPaths.h"
#include "formats/IniFile.h"
#include "ui/CsvSaveDialogFrm.h"
#include "ui/EditFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/MainFrm.h"
#include "ui/SplushFrm.h"
#include "ui/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Generous: the machine may be busy with other work.
constexpr int Patience = 30000;

// Runs xdotool; its input goes to whichever window has the keyboard, as a user's would.
QString xdotool(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    if (!p.waitForFinished(Patience) || p.exitCode() != 0)
        return QStringLiteral("(xdotool failed: %1)").arg(QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

void typeKeys(const QString &text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), "50", text});
}
void pressKey(const QString &key)
{
    xdotool({QStringLiteral("key"), key});
}

// Whether the keys typed now go to window: the X server's input focus is on it, not
// only Qt's idea of the active window, which can be ahead of the server's.
bool hasKeyboard(const QWidget *window)
{
    return window->isActiveWindow() &&
           xdotool({QStringLiteral("getwindowfocus"), QStringLiteral("-f")}) == QString::number(window->winId());
}

// The caption the window manager shows in the title bar.
QString titleBar(const QWidget *window)
{
    return xdotool({QStringLiteral("getwindowname"), QString::number(window->winId())});
}

// Answers the next message box through the X server once it has the keyboard, from the
// event loop that runs while the box waits. A box that does not get the keyboard, or that
// the answer does not reach, is closed after a while, so that the test goes on and fails.
class BoxAnswer : public QObject {
public:
    // key: a key to press, or empty to click the box's No button with the mouse.
    explicit BoxAnswer(const QString &key = QString()) : key_(key)
    {
        connect(&timer_, &QTimer::timeout, this, [this] { look(); });
        timer_.start(50);
        clock_.start();
    }

    bool answered = false; // the answer reached the box
    QString text;
    QPointer<QWidget> owner;

private:
    void look()
    {
        if (sent_) {
            if (!box_ || !box_->isVisible()) {
                timer_.stop();
                answered = true;
            } else if (clock_.elapsed() > Patience) {
                timer_.stop();
                box_->reject();
            }
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (clock_.elapsed() > Patience) {
            timer_.stop();
            if (box)
                box->reject();
            return;
        }
        if (!box || !box->isVisible() || !hasKeyboard(box))
            return;
        sent_ = true;
        box_ = box;
        text = box->text();
        owner = box->parentWidget();
        if (!key_.isEmpty()) {
            pressKey(key_);
            return;
        }
        const QWidget *no = box->button(QMessageBox::No);
        const QPoint at = no->mapToGlobal(no->rect().center());
        xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                 QStringLiteral("1")});
    }

    bool sent_ = false;
    QPointer<QMessageBox> box_; // the box the answer went to
    QString key_;
    QTimer timer_;
    QElapsedTimer clock_;
};

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpShowsTheMainWindowWithItsCaption();
    void editorsKeepTheKeyboard_data();
    void editorsKeepTheKeyboard();
    void overwriteQuestionOpensOverTheChooser();
    void windowComesBackAsItWasLeft();

private:
    void startMain();
    void focusRow(QTableView *list, int row);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TFormSplush> splush_;
    std::unique_ptr<TFormMain> main_;
};

void TestDesktop::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(!xdotool({QStringLiteral("get_num_desktops")}).startsWith(u'('), "no window manager is running");
    useProgramLook();
}

void TestDesktop::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    AppPaths::setExecutableFolder(dir_->path());
}

void TestDesktop::cleanup()
{
    main_.reset();
    splush_.reset();
    dir_.reset();
}

void TestDesktop::startMain()
{
    splush_ = std::make_unique<TFormSplush>();
    main_ = std::make_unique<TFormMain>(splush_.get(), QStringList());
    main_->createOtherWindows();
    main_->show();
    main_->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(hasKeyboard(main_.get()), Patience);
}

void TestDesktop::focusRow(QTableView *list, int row)
{
    list->setFocus();
    list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TestDesktop::startUpShowsTheMainWindowWithItsCaption()
{
    bool active = false;
    QString caption;
    runDalvino({}, [&](TFormMain &window) {
        active = QTest::qWaitFor([&] { return hasKeyboard(&window); }, Patience);
        caption = titleBar(&window);
        QApplication::quit();
    });
    QVERIFY(active);
    QCOMPARE(caption, QStringLiteral("Dalvino - [無題]"));
}

void TestDesktop::editorsKeepTheKeyboard_data()
{
    QTest::addColumn<bool>("groupEditor");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("refusingKey");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("corrected"); // the name after typing "d" once the box is gone

    // ↓ selects the refused name, so "d" replaces it; OK leaves it as typed.
    QTest::newRow("entry editor, ↓") << false << "編集フォーム"
                                     << "Down"
                                     << "名前に半角文字が存在している可能性があります"
                                     << "d";
    QTest::newRow("group editor, OK") << true << "グループ１の設定"
                                      << "Return"
                                      << "グループ名に半角文字が存在している可能性があります"
                                      << "登録なしabcd";
}

void TestDesktop::editorsKeepTheKeyboard()
{
    QFETCH(bool, groupEditor);
    QFETCH(QString, caption);
    QFETCH(QString, refusingKey);
    QFETCH(QString, message);
    QFETCH(QString, corrected);

    // Enter on a row opens its editor with the keyboard in the name field.
    startMain();
    QTableView *list = groupEditor ? groupList(main_) : entryList(main_);
    focusRow(list, 1);
    pressKey(QStringLiteral("Return"));
    QWidget *editor = groupEditor ? static_cast<QWidget *>(partOf<TFormGroupEdit>(main_, "FormGroupEdit"))
                                  : partOf<TFormEdit>(main_, "FormEdit");
    QLineEdit *name = groupEditor ? partOf<TFormGroupEdit>(main_, "FormGroupEdit")->NameEdit
                                  : partOf<TFormEdit>(main_, "FormEdit")->NameEdit;
    QTRY_VERIFY_WITH_TIMEOUT(hasKeyboard(editor), Patience);
    QCOMPARE(QApplication::focusWidget(), name);
    QCOMPARE(titleBar(editor), caption);
    const QString before = name->text();
    typeKeys(QStringLiteral("abc"));
    QTRY_COMPARE_WITH_TIMEOUT(name->text(), before + QStringLiteral("abc"), Patience);

    // The rules refuse the half-width name: the box belongs to the editor, and once it is
    // answered the keyboard is back in the name field; the main list stays where it was.
    BoxAnswer answer(QStringLiteral("Return"));
    pressKey(refusingKey);
    QTRY_VERIFY_WITH_TIMEOUT(answer.answered, Patience);
    QCOMPARE(answer.text, message);
    QCOMPARE(answer.owner.data(), editor);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(hasKeyboard(editor), Patience);
    QCOMPARE(QApplication::focusWidget(), name);
    typeKeys(QStringLiteral("d"));
    QTRY_COMPARE_WITH_TIMEOUT(name->text(), corrected, Patience);
    QCOMPARE(list->currentIndex().row(), 1);
}

void TestDesktop::overwriteQuestionOpensOverTheChooser()
{
    startMain();
    QFile existing(dir_->filePath(QStringLiteral("data.csv")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    TFormCsvSaveDialog *chooser = partOf<TFormCsvSaveDialog>(main_, "FormCsvSaveDialog");
    chooser->setCurrentFolder(dir_->path());

    // The chooser gets the keyboard; its name box takes "data" and Enter saves, which
    // asks before replacing data.csv. The question is answered No by a click on its
    // button, which reaches it only when it lies above the chooser; then the chooser has
    // the keyboard again and Escape closes it.
    BoxAnswer answer;
    bool chooserHadKeyboard = false, chooserBack = false;
    QTimer::singleShot(0, this, [&] {
        // Runs inside the chooser's own event loop.
        chooserHadKeyboard = QTest::qWaitFor([&] { return hasKeyboard(chooser); }, Patience);
        typeKeys(QStringLiteral("data"));
        if (QTest::qWaitFor([&] { return chooser->Edit1->text() == QStringLiteral("data"); }, Patience))
            pressKey(QStringLiteral("Return"));
        // The question comes and goes while this waits.
        if (!QTest::qWaitFor([&] { return answer.answered && QApplication::activeModalWidget() == chooser; }, Patience))
            return chooser->reject();
        chooserBack = QTest::qWaitFor([&] { return hasKeyboard(chooser); }, Patience);
        if (chooserBack)
            pressKey(QStringLiteral("Escape"));
        if (!QTest::qWaitFor([&] { return chooser->isHidden(); }, Patience))
            chooser->reject();
    });
    const QString chosen = chooser->choose(QStringLiteral("csv"), QStringLiteral("CSVファイルとしてエクスポート"));
    QVERIFY(chooserHadKeyboard);
    QVERIFY(answer.answered);
    QCOMPARE(answer.owner.data(), chooser);
    QVERIFY2(chooserBack, "the click did not reach the question: it lay under the chooser");
    QVERIFY(chosen.isEmpty());
}

void TestDesktop::windowComesBackAsItWasLeft()
{
    const QRect placed(150, 100, 700, 560); // outer: frame included
    {
        QFile settings(AppPaths::settingsFile());
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("[Setting]\nTop=%1\nLeft=%2\nWidth=%3\nHeight=%4\nGroupAreaHeight=150\n")
                           .arg(placed.top())
                           .arg(placed.left())
                           .arg(placed.width())
                           .arg(placed.height())
                           .toUtf8());
    }
    for (int run = 0; run < 3; ++run) {
        startMain();
        QTRY_COMPARE_WITH_TIMEOUT(main_->frameGeometry(), placed, Patience);
        QVERIFY(main_->frameGeometry() != main_->geometry());                // the window manager framed it
        QCOMPARE(main_->findChild<QSplitter *>()->widget(1)->height(), 150); // the group area
        main_->close();
        QVERIFY(main_->isHidden());
        const IniFile ini = IniFile::load(AppPaths::settingsFile());
        const QRect saved(ini.readInteger("Setting", "Left", 0), ini.readInteger("Setting", "Top", 0),
                          ini.readInteger("Setting", "Width", 0), ini.readInteger("Setting", "Height", 0));
        QCOMPARE(saved, placed);
        QCOMPARE(ini.readInteger("Setting", "GroupAreaHeight", 0), 150);
        main_.reset();
        splush_.reset();
    }
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
