// Shows the duplicate and file-hog finder after a scan of a generated tree, to look at it under
// Xvfb: dup_showcase dups|content|hogs|hogs-menu FIXTURE-FOLDER [SECONDS]
// Point XDG_CONFIG_HOME and XDG_DATA_HOME at scratch folders first: the folder is added to the
// extra folders of the drive list.
#include "app/ProgramContext.h"
#include "app/VastelStyle.h"
#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "finders/DupFinder.h"
#include "finders/TfrmDup.h"
#include "protect/FolderListFile.h"
#include "protect/SafeHarbor.h"
#include "results/ResultList.h"
#include "widgets/DriveList.h"
#include "widgets/NumberSpin.h"
#include "widgets/WidgetDialogs.h"

#include <sys/stat.h>
#include <utime.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <cstdio>

using namespace vastel;

namespace {

void makeFile(const QByteArray& path, qint64 size, time_t mtime) {
    for (qsizetype i = 1; i < path.size(); ++i)
        if (path[i] == '/') ::mkdir(path.left(i).constData(), 0755);
    if (FILE* f = std::fopen(path.constData(), "w")) {
        if (size > 0) {
            std::fseek(f, long(size - 1), SEEK_SET);
            std::fputc('x', f);
        }
        std::fclose(f);
    }
    utimbuf times{mtime, mtime};
    ::utime(path.constData(), &times);
}

// A few hundred files: names repeated across project folders, sizes from 256 KB to 90 MB.
void makeTree(const QByteArray& root) {
    const char* folders[] = {"photos/2019", "photos/2020",   "backup/photos",     "music/albums",
                             "music/copy",  "projects/site", "projects/site-old", "downloads"};
    const char* stems[] = {"holiday", "report", "invoice", "track",   "scan",   "budget",
                           "notes",   "draft",  "summary", "archive", "letter", "poster"};
    const char* types[] = {".jpg", ".pdf", ".mp3", ".zip", ".png", ".odt"};
    int n = 0;
    for (const char* folder : folders)
        for (int i = 0; i < 40; ++i, ++n) {
            const QByteArray name = QByteArray(stems[(i * 7 + n) % 12]) +
                                    QByteArray::number(i % 9) + types[(i + n / 40) % 6];
            const qint64 size =
                262'144 + qint64((i * 37 + n) % 23) * 401'213 + (i % 5 == 0 ? 90'000'000 : 0);
            makeFile(root + "/" + folder + "/" + name, size, 1'600'000'000 + (i % 4) * 86'400);
        }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Vastel 99"));
    QApplication::setStyle(new VastelStyle(QStringLiteral("Fusion")));
    WidgetDialogs widgetDialogs;
    setDialogs(&widgetDialogs);
    if (argc < 3) return 2;
    const QByteArray state = argv[1];
    const bool content = state == "content";  // identical content
    const bool duplicates = state == "dups" || content;
    const QByteArray root = argv[2];
    const int seconds = argc > 3 ? QByteArray(argv[3]).toInt() : 4;
    makeTree(root);
    writeExtraFolders({root});

    // "projects/site-old" is on the Safe Harbor list, to show the bold entries.
    ProgramContext context;
    SafeHarbor& harbor = context.safeHarbor();
    harbor.sources.folderListFile = QFile::decodeName(root + "/folders.txt");
    harbor.sources.searchPath = QByteArrayList{};
    saveFolderListFile(harbor.sources.folderListFile, {root + "/projects/site-old/"});
    harbor.GetSearchPath();

    context.duplicateMode = duplicates;
    TfrmDup window(context);
    QTimer::singleShot(300, &window, [&] {
        for (int i = 0; i < window.pckDrive->count(); ++i) {
            QListWidgetItem* item = window.pckDrive->item(i);
            item->setCheckState(driveListTarget(item).root == root ? Qt::Checked : Qt::Unchecked);
        }
        if (content) window.cbDup->setCurrentIndex(kContentMatchMode);
        window.btScan->click();
        // Two marks, to show the glyph and the status text.
        for (int row : {1, 4}) {
            window.grid->selectRow(row);
            window.resultList->DeleteAllFiles();
        }
        window.grid->selectRow(6);
        if (state == "hogs-menu") {
            window.rbBetween->click();
            window.num2->setValue(100'000);
            window.PopupMenu1->popup(window.grid->viewport()->mapToGlobal(QPoint(300, 120)));
        }
    });
    QTimer::singleShot(seconds * 1000, &app, [] { QApplication::exit(0); });
    window.show();
    return app.exec();
}
