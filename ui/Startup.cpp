#include "ui/Startup.h"

#include "formats/InstanceLock.h"
#include "ui/MainFrm.h"
#include "ui/ProgramStyle.h"
#include "ui/SplushFrm.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

namespace {

// The type names of Qt's file dialogs, which Qt's Japanese translation leaves English
// (Qt 6 moved them to a context the translation does not have).
class FileTypeNames : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const QHash<QByteArray, QString> names = {{"Folder", QStringLiteral("フォルダ")},
                                                         {"Drive", QStringLiteral("ドライブ")},
                                                         {"Shortcut", QStringLiteral("ショートカット")},
                                                         {"Unknown", QStringLiteral("不明")}};
        return names.value(sourceText);
    }
};

// Qt's own texts (the buttons of the message boxes, the file dialogs, the text fields'
// menu) in Japanese, as the help texts name them. Without the translation installed
// they stay English; the program works all the same.
void useJapaneseQtTexts()
{
    static QTranslator *translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    QCoreApplication::installTranslator(new FileTypeNames(QCoreApplication::instance()));
    // Texts Qt takes from the locale, such as the file types of the file dialogs.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

} // namespace

void useProgramLook()
{
    useJapaneseQtTexts();
    QApplication::setStyle(new ProgramStyle);
    // The program's texts are Japanese: a Japanese font family as the application font
    // draws them, and the Latin letters too, from one font, instead of looking up a
    // fallback font for every size and weight in use. The first family installed is taken.
    // Only faces that draw full-width forms full width (ＡＢＣ as wide as 商, ０ twice 0):
    // the data analysis reports exactly that difference, so the lists must show it.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
                      QStringLiteral("TakaoGothic")});
    // Unhinted outlines: FreeType's auto-hinter studies the whole of a large Japanese font
    // before it hints the first glyph, a noticeable part of the start-up, and at these
    // sizes the text looks all but the same.
    font.setHintingPreference(QFont::PreferNoHinting);
    QApplication::setFont(font);
}

int runDalvino(const QStringList &arguments, const std::function<void(TFormMain &)> &whenShown)
{
    // Only the name: a display name would be appended to every window's caption.
    QApplication::setApplicationName(QStringLiteral("Dalvino"));

    InstanceLock instance;
    if (!instance.tryAcquire()) {
        QMessageBox::critical(nullptr, QString(), instance.refusalText());
        return 1;
    }

    useProgramLook();
    TFormSplush splush;
    splush.showNow();

    TFormMain main(&splush, arguments);
    main.createOtherWindows();
    splush.hide();

    if (main.startsMaximized())
        main.showMaximized();
    else
        main.show();
    main.activateWindow();
    if (whenShown)
        QTimer::singleShot(0, &main, [&] { whenShown(main); });
    return QApplication::exec();
}
