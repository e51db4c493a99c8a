#include "FakePrompts.h"
#include "ui/TextDlgs.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QComboBox *typeCombo(QFileDialog &dialog)
{
    return dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
}

// Picks a file type as the user does, through the dialog's type box.
void pickType(QFileDialog &dialog, int index)
{
    QComboBox *combo = typeCombo(dialog);
    QVERIFY(combo);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    emit combo->textActivated(combo->itemText(index));
}

void touch(const QString &path, const QByteArray &bytes = "old")
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestTextDlgs : public QObject {
    Q_OBJECT
private slots:
    void construction();
    void defaultExtFromSelectedType_data();
    void defaultExtFromSelectedType();
    void typeChangeReplacesTheExtension();
    void typeChangeOnEmptyField();
    void typeChangeWithoutAutoExtChange();
    void placesBar();
    void saveAppendsTheDefaultExtension();
    void openReturnsTheFile();
    void cancelReturnsFalse();
    void overwriteQuestion();
    void maskInTheFieldIsNotAFileName();
};

void TestTextDlgs::construction()
{
    TExtChangeSaveDialog dialog;
    QVERIFY(dialog.AutoExtChange());
    QVERIFY(dialog.ShowPlacesBar());
    QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
    QVERIFY(dialog.fileNameField());
    QVERIFY(dialog.placesBar());
}

void TestTextDlgs::defaultExtFromSelectedType_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("autoExt");
    QTest::addColumn<QString>("defaultExt");
    QTest::newRow("report filter") << QStringLiteral("TXTファイル|*.txt") << 1 << true << QStringLiteral("txt");
    QTest::newRow("second type") << QStringLiteral("XML|*.xml;*.csv|LEG|*.leg") << 2 << true << QStringLiteral("leg");
    QTest::newRow("several masks") << QStringLiteral("XML|*.xml;*.csv|LEG|*.leg") << 1 << true << QStringLiteral("xml");
    QTest::newRow("index out of range keeps it")
        << QStringLiteral("TXTファイル|*.txt") << 2 << true << QStringLiteral("keep");
    QTest::newRow("pattern without a dot") << QStringLiteral("All|*") << 1 << true << QString();
    QTest::newRow("auto off keeps it") << QStringLiteral("TXTファイル|*.txt") << 1 << false << QStringLiteral("keep");
}

void TestTextDlgs::defaultExtFromSelectedType()
{
    QFETCH(QString, filter);
    QFETCH(int, index);
    QFETCH(bool, autoExt);
    QFETCH(QString, defaultExt);
    TExtChangeSaveDialog dialog;
    dialog.Filter = filter;
    dialog.FilterIndex = index;
    dialog.DefaultExt = QStringLiteral("keep");
    dialog.setAutoExtChange(autoExt);
    dialog.prepareExecute();
    QCOMPARE(dialog.DefaultExt, defaultExt);
    QCOMPARE(dialog.defaultSuffix(), defaultExt);
}

void TestTextDlgs::typeChangeReplacesTheExtension()
{
    TExtChangeSaveDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.Filter = QStringLiteral("CSV|*.csv|LEG|*.leg|XML|*.xml;*.csv|All|*");
    dialog.prepareExecute();
    dialog.fileNameField()->setText(QStringLiteral("電話帳.csv"));

    pickType(dialog, 1);
    QCOMPARE(dialog.FilterIndex, 2);
    QCOMPARE(dialog.fileNameField()->text(), QStringLiteral("電話帳.leg"));
    QCOMPARE(dialog.DefaultExt, QStringLiteral("leg"));
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("leg"));

    pickType(dialog, 2);
    QCOMPARE(dialog.fileNameField()->text(), QStringLiteral("電話帳.xml"));

    // A type without an extension takes the old one away.
    pickType(dialog, 3);
    QCOMPARE(dialog.fileNameField()->text(), QStringLiteral("電話帳"));
    QCOMPARE(dialog.DefaultExt, QString());

    pickType(dialog, 0);
    QCOMPARE(dialog.fileNameField()->text(), QStringLiteral("電話帳.csv"));
}

void TestTextDlgs::typeChangeOnEmptyField()
{
    TExtChangeSaveDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.Filter = QStringLiteral("CSV|*.csv|XML|*.xml");
    dialog.prepareExecute();
    dialog.fileNameField()->clear();
    pickType(dialog, 1);
    QCOMPARE(dialog.fileNameField()->text(), QStringLiteral("*.xml"));

    // The hook on its own, as the type box calls it.
    dialog.fileNameField()->setText(QString(300, u'a') + QStringLiteral(".xml"));
    dialog.FilterIndex = 1;
    dialog.DoTypeChange();
    QCOMPARE(dialog.fileNameField()->text(), QString(255, u'a') + QStringLiteral(".csv"));
}

void TestTextDlgs::typeChangeWithoutAutoExtChange()
{
    TExtChangeSaveDialog dialog;
    dialog.setAutoExtChange(false);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.Filter = QStringLiteral("CSV|*.csv|XML|*.xml");
    dialog.DefaultExt = QStringLiteral("dat");
    dialog.prepareExecute();
    dialog.fileNameField()->clear();
    pickType(dialog, 1);
    QCOMPARE(dialog.FilterIndex, 2);
    QCOMPARE(dialog.fileNameField()->text(), QString());
    QCOMPARE(dialog.DefaultExt, QStringLiteral("dat"));
}

void TestTextDlgs::placesBar()
{
    TExtChangeSaveDialog dialog;
    dialog.setShowPlacesBar(false);
    dialog.prepareExecute();
    dialog.show();
    QVERIFY(!dialog.placesBar()->isVisible());
    dialog.setShowPlacesBar(true);
    QVERIFY(dialog.placesBar()->isVisible());
    dialog.hide();
}

void TestTextDlgs::saveAppendsTheDefaultExtension()
{
    QTemporaryDir dir;
    TExtChangeSaveDialog dialog;
    dialog.Filter = QStringLiteral("TXTファイル|*.txt");
    dialog.InitialDir = dir.path();
    bool shown = false;
    QTimer::singleShot(0, &dialog, [&] {
        shown = dialog.isVisible();
        dialog.fileNameField()->setText(QStringLiteral("report"));
        dialog.accept();
    });
    QVERIFY(dialog.Execute());
    QVERIFY(shown);
    QCOMPARE(dialog.FileName, dir.filePath(QStringLiteral("report.txt")));
    QCOMPARE(dialog.FilterIndex, 1);
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
}

void TestTextDlgs::openReturnsTheFile()
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("a.leg")));
    TExtChangeOpenDialog dialog;
    dialog.Filter = QStringLiteral("電話帳ファイル|*.csv;*.leg");
    dialog.InitialDir = dir.path();
    QTimer::singleShot(0, &dialog, [&] {
        dialog.fileNameField()->setText(QStringLiteral("a.leg"));
        dialog.accept();
    });
    QVERIFY(dialog.Execute());
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.FileName, dir.filePath(QStringLiteral("a.leg")));
    QCOMPARE(dialog.DefaultExt, QStringLiteral("csv"));
}

void TestTextDlgs::cancelReturnsFalse()
{
    TExtChangeSaveDialog dialog;
    dialog.Filter = QStringLiteral("TXTファイル|*.txt");
    dialog.FileName = QStringLiteral("/tmp/kept.txt");
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    QVERIFY(!dialog.Execute());
    QCOMPARE(dialog.FileName, QStringLiteral("/tmp/kept.txt"));
}

void TestTextDlgs::overwriteQuestion()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.txt"));
    touch(existing);
    FakePrompts prompts;
    TExtChangeSaveDialog dialog;
    dialog.Filter = QStringLiteral("TXTファイル|*.txt");
    dialog.InitialDir = dir.path();
    dialog.Options = TExtChangeOpenDialog::ofOverwritePrompt | TExtChangeOpenDialog::ofEnableSizing;
    bool stayedOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.fileNameField()->setText(QStringLiteral("old"));
        prompts.answerNo();
        dialog.accept();
        stayedOpen = dialog.isVisible();
        prompts.answerYes();
        dialog.accept();
    });
    QVERIFY(dialog.Execute());
    QVERIFY(stayedOpen);
    QCOMPARE(dialog.FileName, existing);
    QCOMPARE(prompts.kinds(), (QStringList{QStringLiteral("confirmWarning"), QStringLiteral("confirmWarning")}));
    QCOMPARE(prompts.texts().first(), existing + QStringLiteral(" は既に存在します。\n上書きしますか?"));
    QCOMPARE(prompts.unexpected, 0);

    // Without the option nothing is asked.
    FakePrompts quiet;
    dialog.Options = TExtChangeOpenDialog::ofEnableSizing;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.fileNameField()->setText(QStringLiteral("old.txt"));
        dialog.accept();
    });
    QVERIFY(dialog.Execute());
    QVERIFY(quiet.shown.isEmpty());
}

void TestTextDlgs::maskInTheFieldIsNotAFileName()
{
    QTemporaryDir dir;
    TExtChangeSaveDialog dialog;
    dialog.Filter = QStringLiteral("TXTファイル|*.txt");
    dialog.InitialDir = dir.path();
    bool stayedOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.fileNameField()->setText(QStringLiteral("*.txt"));
        dialog.accept();
        stayedOpen = dialog.isVisible();
        dialog.reject();
    });
    QVERIFY(!dialog.Execute());
    QVERIFY(stayedOpen);
}

QTEST_MAIN(TestTextDlgs)
#include "tst_textdlgs.moc"
