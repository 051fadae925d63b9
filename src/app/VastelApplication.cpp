#include "app/VastelApplication.h"

#include "app/ProgramContext.h"
#include "app/TfrmMain.h"
#include "app/VastelStyle.h"
#include "platform/MemoryRelease.h"
#include "platform/Shell.h"
#include "widgets/WidgetDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>

namespace vastel {

int runVastel(int argc, char** argv) {
    returnLargeBlocksOnRelease();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vastel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vastel 99"));
    QApplication::setApplicationVersion(QStringLiteral("3.0b"));
    QApplication::setOrganizationName(QStringLiteral("Tessivo Corporation"));
    // Ties the windows to the installed menu entry (Wayland's app id, the task bar's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tessivo.Vastel"));
    QIcon ownIcon;
    for (int size : {16, 32, 48, 256})
        ownIcon.addFile(QStringLiteral(":/vastel/icon-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("com.tessivo.Vastel"), ownIcon));
    QApplication::setStyle(new VastelStyle(QStringLiteral("Fusion")));
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);

    WidgetDialogs widgetDialogs;
    setDialogs(&widgetDialogs);
    // The engines link no GUI: opening files and the help page goes through the desktop here.
    setDesktopOpener([](const QUrl& url) { return QDesktopServices::openUrl(url); });

    int code = 0;
    {
        ProgramContext context;
        TfrmMain launcher(context);
        launcher.show();
        code = app.exec();
    }
    setDesktopOpener(nullptr);
    setDialogs(nullptr);
    return code;
}

}  // namespace vastel
