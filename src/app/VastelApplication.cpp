#include "app/VastelApplication.h"

#include "app/AppWindows.h"
#include "app/TfrmMain.h"
#include "app/VastelStyle.h"
#include "platform/WidgetDialogs.h"

#include <QApplication>

namespace vastel {

int runVastel(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vastel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vastel 99"));
    QApplication::setApplicationVersion(QStringLiteral("3.0b"));
    QApplication::setOrganizationName(QStringLiteral("Tessivo Corporation"));
    QApplication::setStyle(new VastelStyle(QStringLiteral("Fusion")));
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);

    WidgetDialogs widgetDialogs;
    setDialogs(&widgetDialogs);

    createRunLongWindows();
    frmMain->show();
    const int code = app.exec();
    destroyRunLongWindows();
    setDialogs(nullptr);
    return code;
}

}  // namespace vastel
