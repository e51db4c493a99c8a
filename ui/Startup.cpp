#include "ui/Startup.h"

#include "formats/InstanceLock.h"
#include "ui/MainFrm.h"
#include "ui/SplushFrm.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

int runDalvino(const QStringList &arguments, const std::function<void(TFormMain &)> &whenShown)
{
    QApplication::setApplicationName(QStringLiteral("Dalvino"));
    QApplication::setApplicationDisplayName(QStringLiteral("Dalvino"));

    InstanceLock instance;
    if (!instance.tryAcquire()) {
        QMessageBox::critical(nullptr, QString(), QStringLiteral("すでに起動しています。"));
        return 1;
    }

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
