// Not a test: shows the statistics window, its wizard or its type list editor in one state,
// to look at under Xvfb.   stats_showcase bars|pies|deleted|run|wizard1|wizard2|wizard3|list
// [FOLDER [PAGE [listing|CHOICE]]]: "run" walks FOLDER (the info box before the walk is answered
// by Enter) and then shows page PAGE (default 3) with its "Listing" radio button, or the radio
// button captioned CHOICE, clicked.
#include "app/ProgramContext.h"
#include "core/DriveEntries.h"
#include "core/SettingsStore.h"
#include "stats/TfrmStatList.h"
#include "stats/TfrmStatistics.h"
#include "stats/TfrmWhichDrive.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

using namespace vastel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString state = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("bars");
    const QByteArray folder = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    if (!folder.isEmpty()) writeExtraFolders({folder});
    ProgramContext context;
    if (state.startsWith(QLatin1String("wizard"))) {
        auto* wizard = new TfrmWhichDrive(context);
        if (state != QLatin1String("wizard1")) wizard->btNext1->click();
        if (state == QLatin1String("wizard3")) {
            wizard->rbInclude->setChecked(true);
            wizard->btNext2->click();
            wizard->PickList1->item(0)->setSelected(true);
        }
        wizard->show();
        return app.exec();
    }
    if (state == QLatin1String("list")) {
        auto* list = new TfrmStatList(context);
        list->listSection = QStringLiteral("Include");
        list->show();
        return app.exec();
    }
    if (state == QLatin1String("deleted")) {
        SettingsStore store;
        const QString s = QStringLiteral("Vastel");
        store.writeInt64(s, QStringLiteral("Ndelete"), 1234);
        store.writeInt64(s, QStringLiteral("SizeDelete"), 5'368'709'120LL);
        store.writeInt64(s, QStringLiteral("NWaste"), 87);
        store.writeInt64(s, QStringLiteral("SizeWaste"), 45'000'000);
        store.writeInt64(s, QStringLiteral("DelDate"), 45900);
    }
    TfrmStatistics& w = context.statistics();
    w.show();
    if (state == QLatin1String("pies")) w.rgSpace1->click();
    if (state == QLatin1String("deleted")) w.OvcNotebook1->setCurrentIndex(1);
    if (state == QLatin1String("notyet")) w.OvcNotebook1->setCurrentIndex(3);
    if (state == QLatin1String("run")) {
        w.runWizard = [folder](TfrmWhichDrive& wizard) {
            for (int i = 0; i < wizard.pckDrive->count(); ++i) {
                QListWidgetItem* item = wizard.pckDrive->item(i);
                item->setCheckState(item->text() == QString::fromUtf8(folder) ? Qt::Checked
                                                                              : Qt::Unchecked);
            }
            return int(QDialog::Accepted);
        };
        const int page = argc > 3 ? QByteArray(argv[3]).toInt() : 3;
        QString choice = argc > 4 ? QString::fromUtf8(argv[4]) : QString();
        if (choice == QLatin1String("listing")) choice = QStringLiteral("Listing");
        w.OvcNotebook1->setCurrentIndex(page);
        QObject::connect(&w, &TfrmStatistics::pagesRedrawn, &w, [&w, page, choice] {
            if (w.tallies().filesProcessed == 0) return;  // the redraw before the walk
            QTimer::singleShot(0, &w, [&w, page, choice] {
                w.OvcNotebook1->setCurrentIndex(page);
                if (choice.isEmpty()) return;
                for (QRadioButton* b : w.pages[page]->findChildren<QRadioButton*>())
                    if (b->text() == choice) b->click();
            });
        });
        QTimer::singleShot(500, &w, [&w] { w.btOK->click(); });
        // The info box before the walk.
        QTimer::singleShot(1200, &w, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
    }
    return app.exec();
}
