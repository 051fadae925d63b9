// Shows one removal window in a given state for a while, to look at it (under Xvfb) without
// the finders: removal_showcase STATE FIXTURE-FOLDER [SECONDS]
// STATE: review, review-harbor, review-progress, review-recycle-question, options, deldir,
//        deldir-harbor, deldir-progress
#include "app/ProgramContext.h"
#include "app/VastelStyle.h"
#include "widgets/WidgetDialogs.h"
#include "removal/ArchiveFolder.h"
#include "removal/TfrmDelDirectory.h"
#include "removal/TfrmReallyDelete.h"
#include "removal/TfrmZipOptions.h"

#include <sys/stat.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

using namespace vastel;

namespace {

QByteArray makeFile(const QByteArray& path, int size) {
    for (qsizetype i = 1; i < path.size(); ++i)
        if (path[i] == '/') ::mkdir(path.left(i).constData(), 0755);
    if (FILE* f = std::fopen(path.constData(), "w")) {
        for (int i = 0; i < size; ++i) std::fputc('x', f);
        std::fclose(f);
    }
    return path;
}

SafeHarborCheck showcaseHarbor() {
    SafeHarborCheck check;
    check.reasonOf = [](const QByteArray& path, bool) { return path.contains("/usr/") ? 1 : 0; };
    check.reasonText = [](int) { return QStringLiteral("in the Windows/System folder"); };
    return check;
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
    QTimer::singleShot(seconds * 1000, &app, [] { QApplication::exit(0); });
    archiveFolder = root + "/archives";
    ProgramContext context;

    if (state.startsWith("review")) {
        QList<QByteArray> files;
        for (const char* name :
             {"home/ann/Documents/old report (copy).doc", "home/ann/Documents/Report.doc",
              "home/ann/Downloads/setup.tmp", "home/ann/Downloads/tab\there.txt",
              "home/ann/Pictures/bad\xff.jpg", "usr/lib/libexample.so.1",
              "usr/share/doc/readme.txt"})
            files << makeFile(root + '/' + name, 1000);
        if (state == "review-harbor") files = {files[5], files[6]};
        auto* review = new TfrmReallyDelete(context);
        review->setAttribute(Qt::WA_DeleteOnClose);
        review->safeHarbor = showcaseHarbor();
        review->lb1->setPaths(files);
        review->archiveTag = QStringLiteral("Duplicates");
        review->potentialSavings = 1234567890;
        review->show();
        if (state == "review-progress") {
            review->pnlButtons->hide();
            review->pnlProgress->show();
            review->lblName->setText(QString::fromUtf8(files[1]));
            review->bar->setRange(0, 4);
            review->bar->setValue(1);
            review->Gauge1->setValue(42);
        } else if (state == "review-safepage") {
            review->lb1->item(0)->setSelected(true);
            review->lb1->item(2)->setSelected(true);
            review->btToAgainst->click();
            review->PageControl1->setCurrentWidget(review->tsSafeHarbor);
            review->lb2->item(1)->setSelected(true);
        } else if (state == "review-recycle-question") {
            QTimer::singleShot(300, review, [review] { review->btRecycle->click(); });
        }
    } else if (state == "options") {
        auto* options = new TfrmZipOptions;
        options->show();
        options->Edit2->setText(QStringLiteral("Old duplicates from the spring cleaning"));
    } else {
        const QByteArray folder = state == "deldir-harbor" ? root + "/usr/share/olddocs"
                                                           : root + "/home/ann/Projects/old-build";
        makeFile(folder + "/obj/main.o", 2000);
        auto* window = new TfrmDelDirectory(context);
        window->safeHarbor = showcaseHarbor();
        window->setFolder(folder);
        window->show();
        if (state == "deldir-progress") {
            window->pnlCount->setText(QStringLiteral("128"));
            window->pnlName->setText(QString::fromUtf8(folder + "/obj/main.o"));
            window->Gauge1->setValue(63);
            window->Gauge1->show();
        }
    }
    return app.exec();
}
