#include "FakePrompts.h"
#include "MainWindowParts.h"
#include "core/NumberLint.h"
#include "formats/AppPaths.h"
#include "ui/AnalysisFrm.h"
#include "ui/EditFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneFormatFrm.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

// The number check, the bulk number form and the editor's hint, driven through their handlers.
class TestMainFrmLint : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checkHasItsOwnWindow();
    void bulkForm_data();
    void bulkForm();
    void nothingToFormat();
    void editorHint_data();
    void editorHint();

private:
    void setPhones(const QStringList &phones)
    {
        arrangeBook(main, [&](PhoneBook &book) {
            for (int p = 0; p < phones.size(); ++p)
                book.entries[p].setField(DialEntry::Phone, phones.at(p));
        });
    }
    QStringList phones(int count) const
    {
        QStringList list;
        for (int p = 0; p < count; ++p)
            list << main->book().entries[p].phone();
        return list;
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePrompts> prompts;
    std::unique_ptr<TFormMain> main;
};

void TestMainFrmLint::init()
{
    dir = std::make_unique<QTemporaryDir>();
    AppPaths::setExecutableFolder(dir->path());
    prompts = std::make_unique<FakePrompts>();
    main = std::make_unique<TFormMain>(nullptr, QStringList());
    main->NewFlag = false;
    main->createOtherWindows();
}

void TestMainFrmLint::cleanup()
{
    QCOMPARE(prompts->unexpected, 0);
    main.reset();
    prompts.reset();
    dir.reset();
}

void TestMainFrmLint::checkHasItsOwnWindow()
{
    auto *analysis = partOf<TFormAnalysis>(main, "FormAnalysis");
    analysis->setReport(QStringLiteral("the analysis's report"));
    setPhones({"03-5321-1111", "0353211111"});
    partOf<QAction>(main, "L1")->trigger();
    auto *lint = partOf<TFormAnalysis>(main, "FormLint");
    QVERIFY(lint->isVisible());
    QCOMPARE(lint->report(), numberLintReport(main->book()));
    QVERIFY(lint->report().contains(QStringLiteral("■同じ番号が複数の短縮にあります")));
    QCOMPARE(analysis->report(), QStringLiteral("the analysis's report"));
    QVERIFY(!main->book().Modified);
    QVERIFY(prompts->shown.isEmpty());
}

void TestMainFrmLint::bulkForm_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QStringList>("after");
    const QStringList before{"0353211111", "09012345678", "201", "", "0120123456"};
    QTest::newRow("all, applied") << QList<int>{} << true
                                  << QStringList{"03-5321-1111", "090-1234-5678", "201", "", "0120-123-456"};
    QTest::newRow("selected, applied") << QList<int>{1, 2} << true
                                       << QStringList{"0353211111", "090-1234-5678", "201", "", "0120123456"};
    QTest::newRow("cancelled") << QList<int>{} << false << before;
}

void TestMainFrmLint::bulkForm()
{
    QFETCH(QList<int>, selected);
    QFETCH(bool, apply);
    QFETCH(QStringList, after);
    setPhones({"0353211111", "09012345678", "201", "", "0120123456"});
    for (int p : selected)
        entryList(main)->selectionModel()->select(entryModel(main)->index(p, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QString preview;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = main->findChild<TFormPhoneFormat *>();
        QVERIFY(dialog && dialog->isVisible());
        preview = dialog->Memo1->lines().join(u'\n');
        (apply ? dialog->BtnApply : dialog->BtnCancel)->click();
    });
    partOf<QAction>(main, "N5")->trigger();
    QVERIFY(preview.contains(QStringLiteral("短縮0001　09012345678　→　090-1234-5678")));
    QVERIFY(preview.contains(QStringLiteral("短縮0002　201")));
    QCOMPARE(phones(after.size()), after);
    QCOMPARE(main->book().Modified, apply);
    QCOMPARE(entryModel(main)->index(1, 3).data().toString(), after.at(1));
}

void TestMainFrmLint::nothingToFormat()
{
    setPhones({"03-5321-1111"});
    partOf<QAction>(main, "N5")->trigger();
    QCOMPARE(prompts->shown.size(), 1);
    QCOMPARE(prompts->shown.first().text, QStringLiteral("書式を変える番号はありません"));
    QVERIFY(!main->book().Modified);
}

void TestMainFrmLint::editorHint_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("hint");
    QTest::newRow("good") << "03-5321-1111"
                          << "";
    QTest::newRow("extension") << "201"
                               << "";
    QTest::newRow("a digit missing") << "090-1234-567"
                                     << "電話番号の桁が足りません";
    QTest::newRow("unknown prefix") << "030-1234-5678"
                                    << "日本の電話番号として正しくありません（局番または桁数）";
}

void TestMainFrmLint::editorHint()
{
    QFETCH(QString, phone);
    QFETCH(QString, hint);
    setPhones({QString(), phone});
    main->selectPosition(1);
    main->ListView1DblClick();
    auto *editor = partOf<TFormEdit>(main, "FormEdit");
    auto *label = editor->findChild<QLabel *>(QStringLiteral("PhoneNumberHint"));
    QVERIFY(label);
    QCOMPARE(label->text(), hint);
    // Typing changes it at once, without a message box.
    editor->NoEdit->setText(QStringLiteral("03-5321-1111"));
    QVERIFY(label->text().isEmpty());
    QVERIFY(prompts->shown.isEmpty());
}

QTEST_MAIN(TestMainFrmLint)
#include "tst_mainfrmlint.moc"
