#include "formats/InstanceLock.h"
#include "ui/MainFrm.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dalvino"));
    QApplication::setApplicationDisplayName(QStringLiteral("Dalvino"));

    InstanceLock instance;
    if (!instance.tryAcquire()) {
        QMessageBox::critical(nullptr, QString(), QStringLiteral("すでに起動しています。"));
        return 1;
    }

    TFormSplush splush;
    splush.showNow();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TFormMain main(&splush, arguments);
    main.createOtherWindows();
    splush.hide();

    if (main.startsMaximized())
        main.showMaximized();
    else
        main.show();
    main.activateWindow();
    return app.exec();
}
