#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "TestPaths.h"
#include "formats/AppPaths.h"
#include "formats/HelpData.h"
#include "formats/IniFile.h"
#include "ui/EditFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/HelpFrm.h"
#include "ui/HelpTopics.h"
#include "ui/MainFrm.h"
#include "ui/VerFrm.h"

#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>
#include <memory>

namespace {

void writeUtf8(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\xEF\xBB\xBF");
    file.write(text.toUtf8());
}

} // namespace

class TestHelpFrm : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString treePath() const { return dir->filePath(QStringLiteral("data/kelvo_helptree.dat")); }
    QString textPath() const { return dir->filePath(QStringLiteral("data/kelvo_help.dat")); }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("data")));
        AppPaths::setExecutableFolder(dir->path());
    }

    void windowLayout()
    {
        TFormHelp help;
        QCOMPARE(help.windowTitle(), QStringLiteral("ヘルプ"));
        QVERIFY(help.Memo1->isReadOnly());
        QCOMPARE(help.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(help.Splitter1->widget(0), help.TreeView1);
        QCOMPARE(help.Splitter1->widget(1), help.Memo1);
        help.show();
        QCOMPARE(help.TreeView1->width(), 201);
        QVERIFY(!help.isModal());
    }

    void fourLineTree()
    {
        writeUtf8(treePath(), QStringLiteral("T1\r\n\tT2\r\n\tT3\r\nT4\r\n"));
        FakePrompts prompts;
        TFormHelp help;
        QCOMPARE(help.topicCount(), 4);
        QCOMPARE(help.TreeView1->topLevelItemCount(), 2);
        QCOMPARE(help.TreeView1->topLevelItem(0)->childCount(), 2);
        const QStringList titles{"T1", "T2", "T3", "T4"};
        const QList<int> images{0, 1, 1, 1};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(help.topicTitle(i), titles[i]);
            QCOMPARE(help.topicImage(i), images[i]);
        }
        QVERIFY(!help.TreeView1->topLevelItem(0)->icon(0).isNull());
        QVERIFY(prompts.shown.isEmpty());
    }

    void invalidLevelIsReported()
    {
        writeUtf8(treePath(), QStringLiteral("A\r\n\tB\r\n\t\t\tC\r\n\tD\r\n"));
        FakePrompts prompts;
        TFormHelp help;
        QCOMPARE(prompts.kinds(), QStringList{"error"});
        QCOMPARE(prompts.texts(), QStringList{QStringLiteral("項目 \"C\" の階層 (3) が不正です")});
        QCOMPARE(help.topicCount(), 2);
        QCOMPARE(help.topicTitle(1), QStringLiteral("B"));
        QCOMPARE(help.topicImage(0), -1);
        QCOMPARE(help.topicImage(1), -1);
    }

    void missingTreeFileLeavesTheTreeEmpty()
    {
        FakePrompts prompts;
        TFormHelp help;
        QCOMPARE(help.topicCount(), 0);
        QCOMPARE(help.TreeView1->topLevelItemCount(), 0);
        QVERIFY(prompts.shown.isEmpty());
        // A help button still shows the window.
        help.showTopic(12);
        QVERIFY(help.isVisible());
    }

    void selectionShowsTheText()
    {
        writeUtf8(treePath(), QStringLiteral("目次\r\n\t検索\r\n\t未記入\r\n"));
        writeUtf8(textPath(), QStringLiteral("[HELP]\r\n目次=\"表紙\"\r\n検索=一行目[br]二行目[br]三行目\r\n"));
        TFormHelp help;
        help.TreeView1->setCurrentItem(help.TreeView1->topLevelItem(0));
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("表紙"));
        help.TreeView1->setCurrentItem(help.TreeView1->topLevelItem(0)->child(0));
        QCOMPARE(help.Memo1->document()->blockCount(), 3);
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("一行目\n二行目\n三行目"));
        // A title without a text empties the pane.
        help.TreeView1->setCurrentItem(help.TreeView1->topLevelItem(0)->child(1));
        QCOMPARE(help.Memo1->toPlainText(), QString());
    }

    void textFileIsReadOnEverySelection()
    {
        writeUtf8(treePath(), QStringLiteral("A\r\nB\r\n"));
        writeUtf8(textPath(), QStringLiteral("[HELP]\r\nA=old\r\nB=b\r\n"));
        TFormHelp help;
        help.showTopic(0);
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("old"));
        writeUtf8(textPath(), QStringLiteral("[HELP]\r\nA=new\r\nB=b\r\n"));
        help.showTopic(1);
        help.showTopic(0);
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("new"));
    }

    void missingTextFileKeepsTheText()
    {
        writeUtf8(treePath(), QStringLiteral("A\r\nB\r\n"));
        writeUtf8(textPath(), QStringLiteral("[HELP]\r\nA=shown\r\n"));
        TFormHelp help;
        help.showTopic(0);
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("shown"));
        QVERIFY(QFile::remove(textPath()));
        help.showTopic(1);
        QCOMPARE(help.currentTopic(), 1);
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("shown"));
    }

    void helpButtonsSelectTheirTopic()
    {
        writeUtf8(treePath(), QStringLiteral("A\r\n\tB\r\n\t\tC\r\nD\r\n"));
        writeUtf8(textPath(), QStringLiteral("[HELP]\r\nC=c text\r\nD=d text\r\n"));
        TFormHelp help;
        QVERIFY(!help.isVisible());
        showHelpTopic(2);
        QVERIFY(help.isVisible());
        QCOMPARE(help.currentTopic(), 2);
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("c text"));
        // Already open: it stays open and the selection moves.
        showHelpTopic(3);
        QVERIFY(help.isVisible());
        QCOMPARE(help.currentTopic(), 3);
        QCOMPARE(help.Memo1->toPlainText(), QStringLiteral("d text"));
        // A number without a topic shows the window on its current selection.
        help.hide();
        showHelpTopic(40);
        QVERIFY(help.isVisible());
        QCOMPARE(help.currentTopic(), 3);
        showHelpTopic(-1);
        QCOMPARE(help.currentTopic(), 3);
    }

    void handlerIsRemovedWithTheWindow()
    {
        {
            TFormHelp help;
        }
        showHelpTopic(1); // must not reach the destroyed window
    }

    void usableBesideAModalDialog()
    {
        writeUtf8(treePath(), QStringLiteral("A\r\nB\r\nC\r\n"));
        QWidget main;
        main.show();
        TFormHelp help(&main);
        QDialog dialog(&main);
        int topicAfterKey = -1;
        QTimer::singleShot(0, &dialog, [&] {
            showHelpTopic(0);
            if (QTest::qWaitForWindowExposed(&help)) {
                help.TreeView1->setFocus();
                // A key from the window system reaches the help window only when the
                // dialog does not block it.
                QTest::keyClick(help.windowHandle(), Qt::Key_Down);
                topicAfterKey = help.currentTopic();
            }
            dialog.reject();
        });
        dialog.exec();
        QCOMPARE(topicAfterKey, 1);
        // Opened from the menu again, it belongs to the main window.
        help.showWindow();
        QCOMPARE(help.windowHandle()->transientParent(), main.windowHandle());
    }

    void mainWindowCreatesTheHelpWindow()
    {
        writeUtf8(treePath(), QStringLiteral("A\r\nB\r\n"));
        TFormMain main(nullptr, {});
        main.createOtherWindows();
        QVERIFY(partOf<TFormHelp>(&main, "FormHelp"));
        QVERIFY(partOf<TVerForm>(&main, "VerForm"));
        QVERIFY(!partOf<TFormHelp>(&main, "FormHelp")->isVisible());
        showHelpTopic(1);
        QCOMPARE(partOf<TFormHelp>(&main, "FormHelp")->currentTopic(), 1);
        partOf<TFormHelp>(&main, "FormHelp")->hide();
        main.H2Click();
        QVERIFY(partOf<TFormHelp>(&main, "FormHelp")->isVisible());
        QCOMPARE(partOf<TFormHelp>(&main, "FormHelp")->currentTopic(), 1);
        main.setModified(false);
    }

    // The help buttons of the dialogs open the installed help on their topics.
    void dialogHelpButtons_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("title");
        QTest::newRow("entry editor") << "FormEdit" << 17 << QStringLiteral("短縮データの追加／編集");
        QTest::newRow("group editor") << "FormGroupEdit" << 23 << QStringLiteral("グループ設定");
    }
    void dialogHelpButtons()
    {
        QFETCH(QString, dialog);
        QFETCH(int, topic);
        QFETCH(QString, title);
        for (const QString &name : {QStringLiteral("kelvo_helptree.dat"), QStringLiteral("kelvo_help.dat")})
            QVERIFY(
                QFile::copy(binDir() + QStringLiteral("/data/") + name, dir->filePath(QStringLiteral("data/") + name)));
        TFormMain main(nullptr, {});
        main.createOtherWindows();
        QToolButton *button = dialog == QStringLiteral("FormEdit")
                                  ? partOf<TFormEdit>(&main, "FormEdit")->BitBtn1
                                  : partOf<TFormGroupEdit>(&main, "FormGroupEdit")->BitBtn1;
        QVERIFY(!partOf<TFormHelp>(&main, "FormHelp")->isVisible());
        button->click();
        QVERIFY(partOf<TFormHelp>(&main, "FormHelp")->isVisible());
        QCOMPARE(partOf<TFormHelp>(&main, "FormHelp")->currentTopic(), topic);
        QCOMPARE(partOf<TFormHelp>(&main, "FormHelp")->topicTitle(topic), title);
        QVERIFY(!partOf<TFormHelp>(&main, "FormHelp")->Memo1->toPlainText().isEmpty());
        // From the other topic back: the open window stays and its selection moves.
        showHelpTopic(0);
        button->click();
        QVERIFY(partOf<TFormHelp>(&main, "FormHelp")->isVisible());
        QCOMPARE(partOf<TFormHelp>(&main, "FormHelp")->currentTopic(), topic);
    }

    // The help data installed beside the executable.
    void installedData()
    {
        AppPaths::setExecutableFolder(binDir());
        FakePrompts prompts;
        TFormHelp help;
        QVERIFY(prompts.shown.isEmpty());
        QVERIFY2(help.topicCount() >= 25, qPrintable(QString::number(help.topicCount())));
        QCOMPARE(help.topicTitle(12), QStringLiteral("検索"));
        QCOMPARE(help.topicTitle(17), QStringLiteral("短縮データの追加／編集"));
        QCOMPARE(help.topicTitle(23), QStringLiteral("グループ設定"));
        QCOMPARE(help.topicTitle(24), QStringLiteral("CSVファイルのインポート"));

        const IniFile texts = IniFile::load(helpTextFile());
        QSet<QString> seen;
        for (int i = 0; i < help.topicCount(); ++i) {
            const QString title = help.topicTitle(i);
            QVERIFY2(!seen.contains(title.toLower()), qPrintable(title));
            seen.insert(title.toLower());
            const QString raw = texts.readString(QStringLiteral("HELP"), title);
            QVERIFY2(raw.size() >= 40, qPrintable(title));
            QVERIFY2(raw.size() <= HelpTextLimit, qPrintable(title));
            // Capitals would show as they are written.
            QVERIFY2(!raw.contains(QStringLiteral("[BR]")), qPrintable(title));
        }
        // The topics the dialogs open describe those dialogs.
        QVERIFY(helpTextOf(texts, help.topicTitle(12)).contains(QStringLiteral("検索種別")));
        QVERIFY(helpTextOf(texts, help.topicTitle(17)).contains(QStringLiteral("反　映")));
        QVERIFY(helpTextOf(texts, help.topicTitle(23)).contains(QStringLiteral("着信ランプ")));
        QVERIFY(helpTextOf(texts, help.topicTitle(24)).contains(QStringLiteral("開始行")));

        // Together the texts name every command, model and kind of file.
        QString all;
        for (int i = 0; i < help.topicCount(); ++i)
            all += helpTextOf(texts, help.topicTitle(i));
        const QStringList names{"新規作成",
                                "開く",
                                "CSVファイルのインポート",
                                "上書き保存",
                                "名前を付けて保存",
                                "CSVファイルとしてエクスポート",
                                "印刷",
                                "データ解析",
                                "番号と重複のチェック",
                                "番号の書式をそろえる",
                                "終了",
                                "検索",
                                "ヘルプを表示",
                                "バージョン情報",
                                "クリア",
                                "一括変更",
                                "空き短縮検索",
                                "着信先設定",
                                "ZR410Std",
                                "Morvel",
                                "KN820Std",
                                "LM630Std",
                                "ZR410Pro",
                                "MorvelⅡ",
                                "KN820Pro",
                                "LM630Pro",
                                ".leg",
                                ".xml",
                                ".csv",
                                ".txt",
                                "Quenda.dll",
                                "書き込み時にクリア",
                                "追加モード"};
        for (const QString &name : names)
            QVERIFY2(all.contains(name), qPrintable(name));
        // A cross-reference such as （「検索」参照） names a topic of the tree.
        const QRegularExpression reference(QStringLiteral("((?:「[^」]+」)+)参照"));
        const QRegularExpression quoted(QStringLiteral("「([^」]+)」"));
        int references = 0;
        for (auto m = reference.globalMatch(all); m.hasNext();) {
            for (auto q = quoted.globalMatch(m.next().captured(1)); q.hasNext();) {
                const QString title = q.next().captured(1);
                ++references;
                QVERIFY2(seen.contains(title.toLower()), qPrintable(title));
            }
        }
        QVERIFY(references > 0);

        showHelpTopic(17);
        QVERIFY(help.Memo1->toPlainText().contains(QStringLiteral("反　映")));
        QCOMPARE(help.topicImage(0), 0);
        QCOMPARE(help.topicImage(5), 0);
        QCOMPARE(help.topicImage(12), 1);
    }
};

QTEST_MAIN(TestHelpFrm)
#include "tst_helpfrm.moc"
