#include "ui/Startup.h"

#include "formats/InstanceLock.h"
#include "ui/MainFrm.h"
#include "ui/ProgramStyle.h"
#include "ui/SplushFrm.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QTimer>

void useProgramLook()
{
    QApplication::setStyle(new ProgramStyle);
    // The program's texts are Japanese: a Japanese font family as the application font
    // draws them, and the Latin letters too, from one font, instead of looking up a
    // fallback font for every size and weight in use. The first family installed is taken.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP"), QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic")});
    // Unhinted outlines: FreeType's auto-hinter studies the whole of a large Japanese font
    // before it hints the first glyph, a noticeable part of the start-up, and at these
    // sizes the text looks all but the same.
    font.setHintingPreference(QFont::PreferNoHinting);
    QApplication::setFont(font);
}

int runDalvino(const QStringList &arguments, const std::function<void(TFormMain &)> &whenShown)
{
    QApplication::setApplicationName(QStringLiteral("Dalvino"));
    QApplication::setApplicationDisplayName(QStringLiteral("Dalvino"));

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
