// Opens the program's windows one by one on a sample phone book and saves a picture of
// each, for the user documentation.
//
//   dalvino-screenshots OUTPUT_FOLDER SAMPLES_FOLDER
//
// Run it under a real X server (xvfb-run) so that the windows are laid out and painted
// as a user sees them. Message boxes are not shown: their texts go to standard error.
#include "core/PhoneBook.h"
#include "formats/AppPaths.h"
#include "formats/TextFile.h"
#include "ui/AnalysisFrm.h"
#include "ui/CsvSaveDialogFrm.h"
#include "ui/EditFrm.h"
#include "ui/FileChoices.h"
#include "ui/FindFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/HelpFrm.h"
#include "ui/InportFrm.h"
#include "ui/MainFrm.h"
#include "ui/PhoneBookModels.h"
#include "ui/Prompts.h"
#include "ui/RtFrm.h"
#include "ui/SplushFrm.h"
#include "ui/Startup.h"
#include "ui/VerFrm.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

namespace {

// Says Yes to every question and shows nothing; what a box would say goes to stderr.
class QuietPrompts : public Prompts {
public:
    void information(const QString &text) override { note("information", text); }
    void warning(const QString &text, bool) override { note("warning", text); }
    void error(const QString &text) override
    {
        note("error", text);
        ++errors;
    }
    bool confirm(const QString &text) override
    {
        note("question", text);
        return true;
    }
    bool confirmWarning(const QString &text) override { return confirm(text); }
    Answer confirmWithCancel(const QString &text) override
    {
        note("question", text);
        return Answer::Yes;
    }
    int errors = 0;

private:
    static void note(const char *kind, const QString &text)
    {
        std::fprintf(stderr, "  (%s: %s)\n", kind, qPrintable(text));
    }
};

// Lets layout, posted events and painting happen.
void settle(int ms = 150)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool failed = false;

void save(QWidget *window, const QString &folder, const QString &name)
{
    settle();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!window->isVisible() || !window->grab().save(path)) {
        std::fprintf(stderr, "could not take %s\n", qPrintable(path));
        failed = true;
        return;
    }
    std::printf("%s  %dx%d\n", qPrintable(path), window->width(), window->height());
}

// Takes the modal window (a message box, a file dialog) that run opens, then closes it.
void saveModal(const QString &folder, const QString &name, const std::function<void()> &run)
{
    QTimer::singleShot(0, [folder, name] {
        QElapsedTimer waited;
        waited.start();
        while (!QApplication::activeModalWidget() && waited.elapsed() < 5000)
            settle(50);
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            std::fprintf(stderr, "could not take %s: nothing opened\n", qPrintable(name));
            failed = true;
            return;
        }
        save(dialog, folder, name);
        dialog->reject();
    });
    run();
}

// A customer's address list as another program exports it, for the mapped import.
void writeAddressList(const QString &path)
{
    const QString text = QStringLiteral("氏名,ふりがな,電話番号,区分,着信音,備考\r\n"
                                        "丸山一郎,まるやまいちろう,(048)555-0101,1,A,社長\r\n"
                                        "丸山花子,まるやまはなこ,048-555-0102,1,B,経理\r\n"
                                        "大宮運輸株式会社,おおみやうんゆ,048-555-2200,2,C,配送担当 田中様\r\n"
                                        "埼玉信用金庫 大宮支店,さいたましんようきんこ,048-555-3300,3,,\r\n"
                                        "ABC Trading,えーびーしーとれーでぃんぐ,03-5555-0123,2,A,輸入部品\r\n"
                                        "浦和工機,うらわこうき,048-555-4400,2,,\r\n"
                                        "北関東電材,きたかんとうでんざい,0285-55-1234,2,D,\r\n");
    writeFileAtomically(path, encodeCp932(text));
}

// Two names that differ only in width, in the first empty slots: the list must show the
// difference (the half-width one breaks the rules).
void addLookAlikeEntries(PhoneBook &book)
{
    const QString names[] = {QStringLiteral("ＡＢＣ商事"), QStringLiteral("ABC商事")};
    const QString phones[] = {QStringLiteral("03-5555-0123"), QStringLiteral("03-5555-0124")};
    int added = 0;
    for (DialEntry &entry : book.entries) {
        if (added == 2)
            return;
        if (!entry.name().isEmpty() || !entry.phone().isEmpty())
            continue;
        entry.setField(DialEntry::Name, names[added]);
        entry.setField(DialEntry::Kana, QStringLiteral("ｴｰﾋﾞｰｼｰｼｮｳｼﾞ"));
        entry.setField(DialEntry::Phone, phones[added]);
        ++added;
    }
}

// Slots that break the character rules, so that the analysis has something to report.
void addFaultyEntries(PhoneBook &book)
{
    int added = 0;
    for (DialEntry &entry : book.entries) {
        if (!entry.name().isEmpty() || !entry.phone().isEmpty())
            continue;
        switch (added) {
        case 0:
            entry.setField(DialEntry::Name, QStringLiteral("ﾏﾙﾔﾏ ｺｳｷﾞｮｳ"));
            entry.setField(DialEntry::Kana, QStringLiteral("マルヤマコウギョウ"));
            entry.setField(DialEntry::Phone, QStringLiteral("０４８－５５５－０１９９"));
            break;
        case 1:
            entry.setField(DialEntry::Name, QStringLiteral("株式会社丸山工業大宮第二工場資材課"));
            entry.setField(DialEntry::Kana, QStringLiteral("ﾏﾙﾔﾏｺｳｷﾞｮｳ"));
            entry.setField(DialEntry::Phone, QStringLiteral("048-555-0100 内線12"));
            break;
        default:
            return;
        }
        ++added;
    }
}

int takeAll(const QString &outFolder, const QString &samples)
{
    QuietPrompts prompts;
    Prompts::install(&prompts);

    useProgramLook();
    TFormSplush splush;
    TFormMain main(&splush, {});
    main.createOtherWindows();
    main.show();
    main.activateWindow();
    settle(300);

    // The sample files and an address list in a folder of their own, for the chooser.
    QDir work(QDir::temp().filePath(QStringLiteral("電話帳データ")));
    work.removeRecursively();
    QDir().mkpath(work.path());
    for (const QString &name : {QStringLiteral("zr410std.xml"), QStringLiteral("lm630pro.leg")})
        QFile::copy(QDir(samples).filePath(name), work.filePath(name));
    QFile::copy(QDir(samples).filePath(QStringLiteral("lm630pro.leg")), work.filePath(QStringLiteral("本社.leg")));
    QDir().mkpath(work.filePath(QStringLiteral("バックアップ")));
    const QString csv = work.filePath(QStringLiteral("住所録.csv"));
    writeAddressList(csv);

    // The .leg sample goes through the converter, as a dealer's file does.
    main.openPhoneBookFile(work.filePath(QStringLiteral("lm630pro.leg")));
    addLookAlikeEntries(main.Book);
    main.refreshLists();
    main.raise();
    main.selectPosition(1);
    save(&main, outFolder, QStringLiteral("main-window"));

    // Qt's own dialogs as the program sets them up: a question over the main window and
    // the open dialog in the folder of the samples.
    saveModal(outFolder, QStringLiteral("question-box"),
              [&] { MessageBoxPrompts().confirm(TFormMain::unsavedChangesText(main.Book.FileName)); });
    QDir::setCurrent(work.path());
    saveModal(outFolder, QStringLiteral("open-dialog"), [&] {
        FileChoices::current().choose(&main, {QStringLiteral("open"), QStringLiteral("開く"),
                                              QStringLiteral("電話帳ファイル|*.csv;*.leg"), QString()});
    });

    // The entry editor on an entry with an incoming destination of its own, if any.
    int position = 1;
    for (int p = 0; p < PhoneBook::EntryCount; ++p) {
        if (main.Book.entries[p].field(DialEntry::Destination).startsWith(QStringLiteral("内線"))) {
            position = p;
            break;
        }
    }
    main.selectPosition(position);
    main.ListView1DblClick();
    save(main.FormEdit, outFolder, QStringLiteral("entry-editor"));

    main.FormRt->prepare(main.Book.entries[position].field(DialEntry::Destination));
    main.FormRt->show();
    save(main.FormRt, outFolder, QStringLiteral("destination-dialog"));
    main.FormRt->hide();
    main.FormEdit->hide();

    main.GroupList->selectionModel()->setCurrentIndex(main.GroupModel->index(1, 0),
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    main.GroupListDblClick();
    save(main.FormGroupEdit, outFolder, QStringLiteral("group-editor"));
    main.FormGroupEdit->hide();

    main.FormFind->ComboBox1->setCurrentIndex(0);
    main.FormFind->EFind->setText(QStringLiteral("丸山"));
    main.FormFind->Button1Click();
    main.FormFind->show();
    save(main.FormFind, outFolder, QStringLiteral("search-window"));
    main.FormFind->hide();

    main.FormInport->loadFile(csv);
    const QList<QComboBox *> selectors = {main.FormInport->ComboBox1, main.FormInport->ComboBox2,
                                          main.FormInport->ComboBox3, main.FormInport->ComboBox4,
                                          main.FormInport->ComboBox5, main.FormInport->ComboBox6};
    for (int field = 0; field < selectors.size(); ++field)
        selectors[field]->setCurrentIndex(field);
    main.FormInport->SpinEdit1->setValue(2); // the heading row stays out
    main.FormInport->SpinEdit2->setValue(main.FormInport->Preview->rowCount());
    main.FormInport->show();
    save(main.FormInport, outFolder, QStringLiteral("import-window"));
    main.FormInport->hide();

    main.CsvSaveDialog->Filter = QStringLiteral("leg");
    main.CsvSaveDialog->setWindowTitle(QStringLiteral("名前を付けて保存"));
    main.CsvSaveDialog->setCurrentFolder(work.path());
    main.CsvSaveDialog->RefreshList();
    main.CsvSaveDialog->show();
    save(main.CsvSaveDialog, outFolder, QStringLiteral("file-chooser"));
    main.CsvSaveDialog->hide();

    // The help window on the topic about opening a file, when there is one.
    int topic = 0;
    for (int t = 0; t < main.FormHelp->topicCount(); ++t) {
        if (main.FormHelp->topicTitle(t).contains(QStringLiteral("開く"))) {
            topic = t;
            break;
        }
    }
    main.FormHelp->showTopic(topic);
    save(main.FormHelp, outFolder, QStringLiteral("help-window"));
    main.FormHelp->hide();

    main.VerForm->show();
    save(main.VerForm, outFolder, QStringLiteral("version-dialog"));
    main.VerForm->hide();

    splush.setTitle(QStringLiteral("読み込み中..."));
    splush.setMaximum(PhoneBook::EntryCount);
    splush.setPosition(1700);
    splush.showNow();
    save(&splush, outFolder, QStringLiteral("progress-window"));
    splush.hide();

    addFaultyEntries(main.Book);
    main.refreshLists();
    main.ToolButton6Click();
    save(main.FormAnalysis, outFolder, QStringLiteral("report-window"));
    main.FormAnalysis->hide();

    work.removeRecursively();
    Prompts::install(nullptr);
    return failed || prompts.errors ? 1 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER SAMPLES_FOLDER\n", argv[0]);
        return 2;
    }
    // Settings and temp/ of this run stay beside this program in the build folder, where
    // the converter and data/ are too.
    AppPaths::setExecutableFolder(QCoreApplication::applicationDirPath());
    // The icon theme a desktop session names; a bare X server names none, and the file
    // chooser's folders would then show without their icons.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    // Absolute: the open dialog is shown in the samples folder, which becomes the current one.
    return takeAll(QDir(QString::fromLocal8Bit(argv[1])).absolutePath(),
                   QDir(QString::fromLocal8Bit(argv[2])).absolutePath());
}
