// Shows the cache cleaner or the pair comparison on a generated fixture, to look at them under
// Xvfb: pairs_showcase cache|same|diff|pe|content FIXTURE-FOLDER [SECONDS]
// ("content": the pair of identical copies after an identical-content scan)
// Point HOME, XDG_CONFIG_HOME and XDG_DATA_HOME at scratch folders first.
#include "../inspect/PeFixture.h"
#include "app/ProgramContext.h"
#include "app/VastelStyle.h"
#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "finders/DupFinder.h"
#include "finders/TfrmCache.h"
#include "finders/TfrmDup.h"
#include "finders/TfrmDupCompare.h"
#include "widgets/DriveList.h"
#include "widgets/NumberSpin.h"
#include "widgets/WidgetDialogs.h"

#include <sys/stat.h>
#include <utime.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

using namespace vastel;

namespace {

void makeFile(const QByteArray& path, const QByteArray& content, time_t mtime) {
    for (qsizetype i = 1; i < path.size(); ++i)
        if (path[i] == '/') ::mkdir(path.left(i).constData(), 0755);
    QFile f(QString::fromUtf8(path));
    if (f.open(QIODevice::WriteOnly)) f.write(content);
    f.close();
    utimbuf times{mtime, mtime};
    ::utime(path.constData(), &times);
}

QByteArray program(const QString& version, const QString& description) {
    test::PeFixture pe;
    pe.strings = {{QStringLiteral("CompanyName"), QStringLiteral("Example Works")},
                  {QStringLiteral("FileDescription"), description},
                  {QStringLiteral("FileVersion"), version},
                  {QStringLiteral("ProductName"), QStringLiteral("Example Suite")},
                  {QStringLiteral("ProductVersion"), version},
                  {QStringLiteral("LegalCopyright"), QStringLiteral("(C) Example Works")}};
    return pe.build();
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
    ProgramContext context;
    context.safeHarbor().safeHarborMissing = false;
    QTimer::singleShot(seconds * 1000, &app, [] { QApplication::exit(0); });

    if (state == "cache") {
        const QByteArray home = qgetenv("HOME");
        for (const char* f : {"/.cache/mozilla/firefox/k3x9.default-release/cache2/entries/A1",
                              "/.cache/chromium/Default/Cache/Cache_Data/f_000001",
                              "/.cache/chromium/Profile 3/Cache/Cache_Data/f_000002",
                              "/.var/app/com.brave.Browser/cache/BraveSoftware/Brave-Browser/"
                              "Default/Cache/Cache_Data/f_000003",
                              "/snap/firefox/common/.cache/mozilla/firefox/p1.default/cache2/"
                              "entries/B2"})
            makeFile(home + f, "x", 1'600'000'000);
        TfrmCache window(context);
        window.show();
        QTimer::singleShot(200, &window, [&] { window.ListBox1->setCurrentRow(1); });
        return app.exec();
    }

    const QByteArray a(2048, 'a'), b(2048, 'b');
    makeFile(root + "/photos/2020/holiday.jpg", a + b + a, 1'600'000'000);
    makeFile(root + "/backup/photos/holiday.jpg", a + b + a, 1'600'000'000);
    makeFile(root + "/projects/report.odt", a + b, 1'600'000'000);
    makeFile(root + "/projects/old/report.odt", b + b, 1'650'000'000);
    makeFile(root + "/tools/setup.exe", program("1.0.0.1", "Example setup"), 1'600'000'000);
    makeFile(root + "/downloads/setup.exe", program("2.5.0.0", "Example setup program"),
             1'650'000'000);
    writeExtraFolders({root});
    context.duplicateMode = true;
    TfrmDup finder(context);
    QTimer::singleShot(300, &finder, [&] {
        for (int i = 0; i < finder.pckDrive->count(); ++i) {
            QListWidgetItem* item = finder.pckDrive->item(i);
            item->setCheckState(driveListTarget(item).root == root ? Qt::Checked : Qt::Unchecked);
        }
        finder.num1->setValue(0);
        if (state == "content") finder.cbDup->setCurrentIndex(kContentMatchMode);
        finder.btScan->click();
        const QByteArray name = state == "same" || state == "content" ? "holiday.jpg"
                                : state == "diff"                     ? "report.odt"
                                                                      : "setup.exe";
        for (int r = 0; r < finder.model->rowCount(); ++r)
            if (finder.model->path(r).endsWith(name)) {
                finder.grid->setCurrentIndex(finder.model->index(r, 0));
                break;
            }
        finder.btCompare->click();
        context.dupCompare().move(finder.x() + 40, finder.y() + 60);
        context.dupCompare().btCompute->click();
    });
    finder.show();
    return app.exec();
}
