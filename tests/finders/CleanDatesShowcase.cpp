// Shows the quick clean or the files-by-date window after a scan of a generated tree, to look
// at it under Xvfb: cleandates_showcase clean|mods|mods-menu FIXTURE-FOLDER [SECONDS]
// Point XDG_CONFIG_HOME and XDG_DATA_HOME at scratch folders first: the folder is added to the
// extra folders of the drive list.
#include "app/ProgramContext.h"
#include "app/VastelStyle.h"
#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "finders/TfrmClean.h"
#include "finders/TfrmMods.h"
#include "protect/FolderListFile.h"
#include "protect/SafeHarbor.h"
#include "results/ResultList.h"
#include "widgets/DriveList.h"
#include "widgets/WidgetDialogs.h"

#include <sys/stat.h>
#include <utime.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
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

// A few hundred files, a third of them temporary, modified over four years.
void makeTree(const QByteArray& root) {
    const char* folders[] = {"home/docs",    "home/docs/old", "projects/site", "projects/build",
                             "projects/tmp", "downloads",     "mail/archive",  "photos/2021"};
    const char* stems[] = {"report", "invoice", "notes", "draft", "summary", "budget", "letter"};
    const char* types[] = {".tmp", ".doc", ".bak", ".txt", ".old", ".pdf", ".chk", ".jpg", ".$$$"};
    int n = 0;
    for (const char* folder : folders)
        for (int i = 0; i < 45; ++i, ++n) {
            const QByteArray name =
                QByteArray(stems[(i * 3 + n) % 7]) + QByteArray::number(i) + types[(i * 5 + n) % 9];
            const qint64 size = qint64((i * 37 + n) % 29) * 53'211 + (i % 7 == 0 ? 4'000'000 : 10);
            makeFile(root + "/" + folder + "/" + name, size,
                     1'609'459'200 + qint64((i * 11 + n * 7) % 1400) * 86'400);
        }
}

void checkOnly(QListWidget* list, const QByteArray& root) {
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        item->setCheckState(driveListTarget(item).root == root ? Qt::Checked : Qt::Unchecked);
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
    const QByteArray root = argv[2];
    const int seconds = argc > 3 ? QByteArray(argv[3]).toInt() : 4;
    makeTree(root);
    writeExtraFolders({root});

    // "projects/build" is on the Safe Harbor list, to show the bold entries.
    ProgramContext context;
    SafeHarbor& harbor = context.safeHarbor();
    harbor.sources.folderListFile = QFile::decodeName(root + "/folders.txt");
    harbor.sources.searchPath = QByteArrayList{};
    saveFolderListFile(harbor.sources.folderListFile, {root + "/projects/build/"});
    harbor.GetSearchPath();

    std::unique_ptr<QDialog> window;
    if (state == "clean") {
        auto* w = new TfrmClean(context);
        window.reset(w);
        QTimer::singleShot(300, w, [w, root] {
            checkOnly(w->pckDrive, root);
            w->btScan->click();
            for (int row : {1, 4}) {
                w->grid->selectRow(row);
                w->resultList->DeleteAllFiles();
            }
        });
    } else {
        auto* w = new TfrmMods(context);
        window.reset(w);
        QTimer::singleShot(300, w, [w, root, state] {
            checkOnly(w->pckDrive, root);
            w->whatButtons->button(2)->click();
            w->dtStart->setDate(QDate(2022, 1, 1));
            w->dtEnd->setDate(QDate(2023, 6, 30));
            w->btOK->click();
            for (int row : {0, 3}) {
                w->grid->selectRow(row);
                w->resultList->DeleteAllFiles();
            }
            if (state == "mods-menu")
                w->PopupMenu1->popup(w->grid->viewport()->mapToGlobal(QPoint(300, 120)));
        });
    }
    QTimer::singleShot(seconds * 1000, &app, [] { QApplication::exit(0); });
    window->show();
    return app.exec();
}
