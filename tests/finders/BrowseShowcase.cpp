// Opens the disk and folder browser, to look at it under Xvfb and drive it with xdotool:
// browse_showcase FOLDER [FILE] [MASK] [HARBOR-FOLDER]
// Point XDG_CONFIG_HOME and XDG_DATA_HOME at scratch folders first. HARBOR-FOLDER, when given,
// is the one entry of the Safe Harbor folder list, to show the highlighted label.
#include "app/ProgramContext.h"
#include "app/VastelStyle.h"
#include "finders/TfrmBrowse.h"
#include "platform/Dialogs.h"
#include "protect/FolderListFile.h"
#include "protect/SafeHarbor.h"
#include "widgets/WidgetDialogs.h"

#include <QApplication>
#include <QFile>

using namespace vastel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Vastel 99"));
    QApplication::setStyle(new VastelStyle(QStringLiteral("Fusion")));
    WidgetDialogs widgetDialogs;
    setDialogs(&widgetDialogs);
    if (argc < 2) return 2;
    ProgramContext context;
    if (argc > 4) {
        const QByteArray kept = argv[4];
        SafeHarbor& harbor = context.safeHarbor();
        harbor.sources.folderListFile = QFile::decodeName(kept + "/../folders.txt");
        harbor.sources.searchPath = QByteArrayList{};
        saveFolderListFile(harbor.sources.folderListFile, {kept + "/"});
        harbor.GetSearchPath();
    }
    context.openBrowser(nullptr, argv[1], argc > 2 ? QByteArray(argv[2]) : QByteArray(),
                        argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    return 0;
}
