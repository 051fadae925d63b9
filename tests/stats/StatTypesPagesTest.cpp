// The Types, Sizes and Overhang pages of the statistics window: listings, sorts, totals, pies
// and bars drawn from tallies, printing, and a real run against vastel-scan stats.
#include "core/DriveEntries.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "platform/ScriptedDialogs.h"
#include "results/PrintIt.h"
#include "stats/StatTexts.h"
#include "stats/TfrmStatistics.h"
#include "stats/TfrmWhichDrive.h"
#include "stats/ui/StatGrid.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QGridLayout>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <map>

using namespace vastel;
using vastel::test::LocaleScope;
using vastel::test::TempTree;

namespace {

// Tallies with the given type records (any order), their bytes in the first size bucket.
StatTallies typeTallies(std::vector<TypeRecord> records) {
    StatTallies t;
    std::sort(records.begin(), records.end(),
              [](const TypeRecord& a, const TypeRecord& b) { return a.extension < b.extension; });
    t.types = std::move(records);
    for (const TypeRecord& r : t.types) {
        t.sizeCount[1] += r.count;
        t.sizeBytes[1] += r.bytes;
        t.filesSelected += r.count;
    }
    t.filesProcessed = t.filesSelected;
    return t;
}

// n types ".T01" ... with distinct sizes: type i has i files of 1,000 × i bytes each.
StatTallies manyTypes(int n) {
    std::vector<TypeRecord> records;
    for (int i = 1; i <= n; ++i)
        records.push_back({QStringLiteral(".T%1").arg(i, 2, 10, QLatin1Char('0')).toUtf8(), i,
                           qint64(i) * i * 1000});
    return typeTallies(records);
}

QStringList column(const StatGrid* grid, int c) {
    QStringList cells;
    for (int r = 0; r < grid->rowCount(); ++r) cells << grid->cell(r, c);
    return cells;
}

QStringList rowOf(const StatGrid* grid, int r) {
    QStringList cells;
    for (int c = 0; c < grid->grid().columnCount(); ++c) cells << grid->cell(r, c);
    return cells;
}

// The value labels a chart shows (Qt Charts' own bar labels and ours).
QStringList shownLabels(QChart* chart) {
    QStringList texts;
    for (QGraphicsItem* item : chart->scene()->items()) {
        if (!item->isVisible()) continue;
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item))
            texts << text->toPlainText();
        else if (auto* simple = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            texts << simple->text();
    }
    return texts;
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(20000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

std::function<int(TfrmWhichDrive&)> pick(const QString& text) {
    return [text](TfrmWhichDrive& wizard) {
        for (int i = 0; i < wizard.pckDrive->count(); ++i) {
            QListWidgetItem* item = wizard.pckDrive->item(i);
            item->setCheckState(item->text() == text ? Qt::Checked : Qt::Unchecked);
        }
        wizard.rbAll->setChecked(true);
        return int(QDialog::Accepted);
    };
}

}  // namespace

class StatTypesPagesTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<test::TestContext> context_;
    std::unique_ptr<LocaleScope> locale_;
    TfrmStatistics* w = nullptr;
    ScriptedDialogs* dialogs_ = nullptr;

    void choose(int typesChoice) { w->rgTypesGroup->button(typesChoice)->click(); }
    // One target, so that the Overhang page is drawn.
    void oneTarget(qint64 cluster) {
        ScanTarget t;
        t.root = "/v1";
        t.text = QStringLiteral("/v1");
        w->PickList1 = {t};
        w->clusterSize = cluster;
        w->OvcNotebook1->setTabEnabled(TfrmStatistics::pgOverhang, true);
    }

  private Q_SLOTS:
    void init() {
        locale_ = std::make_unique<LocaleScope>(test::kEnglishUs);
        dialogs_ = new ScriptedDialogs;
        context_ = std::make_unique<test::TestContext>();
        w = &context_->statistics();
        w->resize(1000, 700);
    }
    void cleanup() {
        context_.reset();
        delete dialogs_;
        locale_.reset();
    }

    void listingRowsAndTotals() {
        w->show();
        w->collected = true;
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgTypes);
        QCOMPARE(w->gridTypes->grid().headers(),
                 QStringList({"Extension", "Type", "Size", "# Files", "Avg File Size"}));
        w->showTallies(typeTallies({{".TXT", 2, 4002}, {"", 3, 1500000}, {".QQZ", 1, 9}}));
        choose(0);
        QVERIFY(w->gridTypes->isVisible());
        QVERIFY(!w->chartPie->isVisible());
        QVERIFY(w->btSort->isVisible());
        QVERIFY(!w->Timer1->isActive());
        QCOMPARE(w->gridTypes->rowCount(), 4);  // three types and the totals
        QCOMPARE(rowOf(w->gridTypes, 0),
                 QStringList({"", fileTypeText(QString()), "1,500,000", "3", "500,000"}));
        QCOMPARE(rowOf(w->gridTypes, 1), QStringList({".QQZ", "QQZ File", "9", "1", "9"}));
        QCOMPARE(rowOf(w->gridTypes, 2), QStringList({".TXT", fileTypeText(QStringLiteral(".TXT")),
                                                      "4,002", "2", "2,001"}));
        QCOMPARE(rowOf(w->gridTypes, 3), QStringList({"", "Totals", "1,504,011", "6", ""}));
        QCOMPARE(w->gridTypes->grid()
                         .data(w->gridTypes->grid().index(0, 2), Qt::TextAlignmentRole)
                         .toInt() &
                     Qt::AlignRight,
                 int(Qt::AlignRight));
        // A pie again: the sort button goes and the pie timer runs.
        choose(1);
        QVERIFY(!w->btSort->isVisible());
        QVERIFY(w->Timer1->isActive());
        QVERIFY(w->chartPie->isVisible());
    }

    void sortsKeepHeadingAndTotals_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("size") << "SortbySize" << QStringList{".BBQ", ".TXT", ".AAQ", ".CCQ"};
        QTest::newRow("number") << "SortbyNumber" << QStringList{".CCQ", ".AAQ", ".TXT", ".BBQ"};
        QTest::newRow("average") << "SortbyAverage" << QStringList{".BBQ", ".TXT", ".AAQ", ".CCQ"};
        QTest::newRow("extension")
            << "SortbyExtension" << QStringList{".AAQ", ".BBQ", ".CCQ", ".TXT"};
        QTest::newRow("type") << "SortbyType" << QStringList{};
    }
    void sortsKeepHeadingAndTotals() {
        QFETCH(QString, item);
        QFETCH(QStringList, order);
        w->show();
        w->showTallies(typeTallies(
            {{".AAQ", 3, 3000}, {".BBQ", 1, 9000}, {".CCQ", 5, 500}, {".TXT", 2, 4000}}));
        choose(0);
        // Start from another order than the one asked for.
        w->SortbyExtensionClick(item == QLatin1String("SortbyNumber") ? w->SortbySize
                                                                      : w->SortbyNumber);
        QAction* action = w->findChild<QAction*>(item);
        QVERIFY(action);
        action->trigger();  // as from the menu: Qt toggles the check first
        QStringList extensions = column(w->gridTypes, 0).mid(0, 4);
        if (order.isEmpty()) {
            const QStringList types = column(w->gridTypes, 1).mid(0, 4);
            for (int i = 1; i < types.size(); ++i)
                QVERIFY2(textKey(types[i - 1]) <= textKey(types[i]), qPrintable(types.join('|')));
        } else {
            QCOMPARE(extensions, order);
        }
        QCOMPARE(rowOf(w->gridTypes, 4), QStringList({"", "Totals", "16,500", "11", ""}));
        QCOMPARE(w->gridTypes->grid().headers().value(0), QStringLiteral("Extension"));
        for (QAction* a : w->PopupMenu1->actions()) QCOMPARE(a->isChecked(), a == action);
        QCOMPARE(w->btSort->menu(), w->PopupMenu1);
    }

    void sortOfOneTypeDoesNothing() {
        w->show();
        w->showTallies(typeTallies({{".TXT", 2, 4000}}));
        choose(0);
        QCOMPARE(w->gridTypes->rowCount(), 2);
        w->SortbySize->trigger();
        QVERIFY(w->SortbyExtension->isChecked());
        QVERIFY(!w->SortbySize->isChecked());
        QCOMPARE(rowOf(w->gridTypes, 1), QStringList({"", "Totals", "4,000", "2", ""}));
    }

    void pieOfElevenAndOfTwentyTypes() {
        w->show();
        w->collected = true;
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgTypes);
        w->showTallies(manyTypes(11));
        choose(0);  // the totals row is filled
        choose(1);
        QCOMPARE(w->Series2->count(), 11);
        qint64 sum = 0;
        for (const TypeRecord& r : w->tallies().types) sum += r.bytes;
        for (QPieSlice* s : w->Series2->slices()) {
            QVERIFY(s->value() < double(sum));
            QVERIFY(!s->label().contains(QLatin1String("Totals")));
        }
        QVERIFY(!w->chartPie->chart()->legend()->isVisible());

        w->showTallies(manyTypes(20));
        QCOMPARE(w->Series2->count(), 12);
        QList<double> values;
        for (QPieSlice* s : w->Series2->slices()) values << s->value();
        QList<double> largest;
        for (int i = 20; i > 8; --i) largest << double(qint64(i) * i * 1000);
        QCOMPARE(values, largest);
        // Colours from the table, in row order.
        QCOMPARE(w->Series2->slices().at(0)->color(), QColor(255, 0, 0));
        QCOMPARE(w->Series2->slices().at(2)->color(), QColor(0, 0, 255));
        // The share with at most one decimal; tiny slices keep their labels off the pie.
        const QPieSlice* first = w->Series2->slices().at(0);
        QCOMPARE(first->label(), QStringLiteral("T20 File: 15 %"));  // 400 / 2,666
        QCOMPARE(w->Series2->slices().at(1)->label(), QStringLiteral("T19 File: 13.5 %"));
        QVERIFY(first->isLabelVisible());
        for (QPieSlice* s : w->Series2->slices())
            if (s->percentage() < 0.02) QVERIFY(!s->isLabelVisible());

        // By number of files and by average: other columns, the same twelve here.
        choose(2);
        QCOMPARE(w->Series2->slices().at(0)->value(), 20.0);
        choose(3);
        QCOMPARE(w->Series2->slices().at(0)->value(), 20000.0);
        QVERIFY(w->SortbyAverage->isChecked());
        // The bar turns the pie.
        w->ScrollBar2->setValue(90);
        QCOMPARE(w->Series2->pieStartAngle(), 90.0);
        QCOMPARE(w->Series2->pieEndAngle(), 450.0);
    }

    void emptyPieShowsANote() {
        w->show();
        w->collected = true;
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgTypes);
        w->showTallies(StatTallies());
        QCOMPARE(w->gridTypes->rowCount(), 1);  // the totals row only
        QCOMPARE(w->Series2->count(), 0);
        QVERIFY(w->pieNote->isVisible());
        QCOMPARE(w->pieNote->text(), QStringLiteral("No files"));
        // Chosen types that no file has: rows with zeros, still nothing to draw.
        w->includeTypes = true;
        w->PickList2 = {QStringLiteral("*.doc\tWord document"), QStringLiteral("*.xyz\tXYZ File")};
        w->showTallies(typeTallies({{".TXT", 2, 4000}}));
        choose(0);
        QCOMPARE(w->gridTypes->rowCount(), 4);
        QCOMPARE(rowOf(w->gridTypes, 0).mid(2), QStringList({"0", "0", "0"}));
        QCOMPARE(w->gridTypes->cell(0, 0), QStringLiteral(".DOC"));
        QCOMPARE(w->gridTypes->cell(2, 0), QStringLiteral(".XYZ"));
        QCOMPARE(rowOf(w->gridTypes, 2).mid(3), QStringList({"0", "0"}));
        choose(2);
        QCOMPARE(w->Series2->count(), 1);
        QVERIFY(!w->pieNote->isVisible());
    }

    void germanSeparators() {
        LocaleScope german(test::kGerman);
        w->show();
        w->showTallies(typeTallies({{".AAQ", 3, 3000}, {".BBQ", 1, 9000}, {".CCQ", 1500, 500}}));
        choose(0);
        w->SortbySize->trigger();
        QCOMPARE(column(w->gridTypes, 2), QStringList({"9.000", "3.000", "500", "12.500"}));
        w->SortbyNumber->trigger();
        QCOMPARE(column(w->gridTypes, 3), QStringList({"1.500", "3", "1", "1.504"}));
        choose(1);
        QCOMPARE(w->Series2->slices().at(0)->value(), 9000.0);
    }

    void sizesListingAndChart() {
        w->show();
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgSizes);
        StatTallies t;
        for (int k = 1; k <= 12; ++k) {
            t.sizeCount[size_t(k)] = 1000 * k;
            t.sizeBytes[size_t(k)] = qint64(k) * 1048576;
        }
        w->collected = true;
        w->showTallies(t);
        QVERIFY(w->Chart1->isVisible());
        QVERIFY(w->Chart1->toolBar()->isVisible());
        QVERIFY(!w->gridSizes->isVisible());
        QCOMPARE(w->Chart1->chart()->title(), QStringLiteral("File Sizes in MB"));
        const QList<QBarSet*> sets = w->Series1->barSets();
        QCOMPARE(sets.size(), 12);
        QCOMPARE(sets[0]->at(0), 1.0);  // "0 - 16K" first, in MB
        QCOMPARE(sets[11]->at(11), 12.0);
        QCOMPARE(sets[3]->brush().gradient()->type(), QGradient::LinearGradient);
        QCOMPARE(w->sizesAxis->categories().first(), QStringLiteral("0 - 16K"));
        QCOMPARE(w->sizesAxis->categories().last(), QStringLiteral("Over 16MB"));

        w->rgSize2->click();
        QCOMPARE(w->Chart1->chart()->title(), QStringLiteral("Number of Files"));
        QCOMPARE(w->Series1->barSets()[4]->at(4), 5000.0);

        w->rgSize0->click();
        QVERIFY(w->gridSizes->isVisible());
        QVERIFY(!w->Chart1->isVisible());
        QVERIFY(!w->Chart1->toolBar()->isVisible());
        QCOMPARE(w->gridSizes->grid().headers(),
                 QStringList({"File size", "Total file size", "Number of files"}));
        QCOMPARE(w->gridSizes->rowCount(), 12);
        QCOMPARE(rowOf(w->gridSizes, 0), QStringList({"Over 16MB", "12,582,912", "12,000"}));
        QCOMPARE(rowOf(w->gridSizes, 11), QStringList({"0 - 16K", "1,048,576", "1,000"}));
        for (int r = 0; r < 12; ++r) QCOMPARE(w->gridSizes->cell(r, 0), sizeBucketLabel(12 - r));

        w->rgSize1->click();
        QCOMPARE(w->Chart1->chart()->title(), QStringLiteral("File Sizes in MB"));
    }

    // Stacked sets of one value each: Qt Charts must not draw the zeros of the other slots.
    void colouredBarsLabelOnlyTheirValue() {
        ChartPanel panel(QStringLiteral("probe"), *dialogs_);
        auto* series = new QHorizontalStackedBarSeries(panel.chart());
        panel.chart()->addSeries(series);
        panel.resize(500, 300);
        panel.show();
        for (int round = 0; round < 2; ++round) {
            fillColouredBars(series, nullptr,
                             {{"a", 3, Qt::red}, {"b", 0, Qt::blue}, {"c", 7, Qt::green}},
                             QStringLiteral("@value %"));
            if (round == 0) panel.chart()->createDefaultAxes();
            QCoreApplication::processEvents();
            QStringList labels = shownLabels(panel.chart());
            labels.removeIf([](const QString& s) { return !s.endsWith(QLatin1Char('%')); });
            labels.sort();
            QVERIFY2(labels == QStringList({"3 %", "7 %"}),
                     qPrintable(QString::number(round) + shownLabels(panel.chart()).join('|')));
        }
    }

    void overhangOfTheExample() {
        w->show();
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgOverhang);
        w->collected = true;
        oneTarget(16384);
        StatTallies t;
        t.sizeCount[1] = 100;
        t.sizeBytes[1] = 500000;
        t.filesProcessed = t.filesSelected = 100;
        t.waste4K = 100 * 3192;
        t.waste8K = 100 * 3192;
        t.waste16K = 100 * (16384 - 5000);
        t.waste32K = 100 * (32768 - 5000);
        t.waste64K = 100 * (65536 - 5000);
        w->showTallies(t);
        QVERIFY(w->OvcNotebook1->isTabEnabled(TfrmStatistics::pgOverhang));
        QCOMPARE(w->lblSize->text(), QStringLiteral("488 KB"));
        QCOMPARE(w->lblOver[2]->text(), QStringLiteral("1,138,400"));
        QCOMPARE(w->lblOver[0]->text(), QStringLiteral("319,200"));
        QCOMPARE(w->lblLbl->text(), QStringLiteral("Actual space used 1,600 KB"));
        QCOMPARE(w->lblNumFiles->text(), QStringLiteral("Number of files scanned: 100"));
        QVERIFY(w->pnlOverhang->isVisible());
        QVERIFY(w->imArrow->isVisible());
        QVERIFY(!w->pnlCluster->isVisible());
        int row = -1, col, rs, cs;
        w->overhangTable->getItemPosition(w->overhangTable->indexOf(w->imArrow), &row, &col, &rs,
                                          &cs);
        int labelRow = -2;
        w->overhangTable->getItemPosition(w->overhangTable->indexOf(w->lblCSize[2]), &labelRow,
                                          &col, &rs, &cs);
        QCOMPARE(row, labelRow);
        // Bars 64K, 32K, 16K, 8K, 4K, so 4K is at the top; the 16K bar about 69 %.
        const QList<QBarSet*> sets = w->Series9->barSets();
        QCOMPARE(sets.size(), 5);
        QVERIFY(qAbs(sets[2]->at(2) - 1138400.0 * 100 / 1638400) < 1e-9);
        QVERIFY(qAbs(sets[4]->at(4) - 319200.0 * 100 / 819200) < 1e-9);
        for (QBarSet* s : sets) QCOMPARE(s->brush().gradient()->stops().at(1).second.hue(), 0);
        QCOMPARE(w->overhangLabels[2]->text(), QStringLiteral("69 %"));
        // The bars stand beside their rows: the 4K bar at the height of the 4K label.
        QCoreApplication::processEvents();
        QChart* chart = w->chartOverhang->chart();
        for (int r : {0, 4}) {
            const QPointF bar = chart->mapToPosition(QPointF(0, 4 - r), w->Series9);
            const QPoint onScreen =
                w->chartOverhang->view()->mapTo(w, w->chartOverhang->view()->mapFromScene(bar));
            const QPoint label = w->lblCSize[r]->mapTo(w, w->lblCSize[r]->rect().center());
            QVERIFY2(qAbs(onScreen.y() - label.y()) <= 6,
                     qPrintable(QStringLiteral("%1 vs %2").arg(onScreen.y()).arg(label.y())));
        }
        QCOMPARE(w->Memo1->document()->blockCount(), 9);

        // A drive of 2 KB clusters: no arrow, the covering note, no figure of another drive.
        oneTarget(2048);
        w->showTallies(t);
        QVERIFY(!w->imArrow->isVisible());
        QVERIFY(w->pnlCluster->isVisible());
        QCOMPARE(static_cast<QLabel*>(w->pnlCluster)->text(),
                 QStringLiteral("Cluster overhang analysis is not applicable to this drive."));
        QCOMPARE(w->lblLbl->text(), QStringLiteral("Actual space used:"));

        // Megabytes once the files reach one.
        oneTarget(4096);
        t.sizeBytes[12] = 3 * 1048576;
        w->showTallies(t);
        QCOMPARE(w->lblSize->text(), QStringLiteral("3 MB"));  // 3.48 MB rounded
        QCOMPARE(w->lblLbl->text(), QStringLiteral("Actual space used 4 MB"));

        // Nothing selected: the page is disabled.
        w->showTallies(StatTallies());
        QVERIFY(!w->OvcNotebook1->isTabEnabled(TfrmStatistics::pgOverhang));
    }

    void printsChartThroughPreviewAndListingAsReport() {
        TempTree out;
        const QString pdf = QString::fromUtf8(out.path("page.pdf"));
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        w->show();
        w->collected = true;
        w->currentTarget = QStringLiteral("/v1");
        w->showTallies(typeTallies({{".TXT", 2, 4000}, {".QQZ", 5, 12345}}));
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgTypes);
        QVERIFY(w->chartPie->isVisible());
        dialogs_->answerPrint(true);
        w->btPrint->click();
        QCOMPARE(dialogs_->records().last().kind, ScriptedDialogs::Kind::Preview);
        QVERIFY(QFile(pdf).size() > 1000);
        QFile::remove(pdf);

        choose(0);
        dialogs_->answerPrint(true);
        w->btPrint->click();
        QCOMPARE(dialogs_->records().last().kind, ScriptedDialogs::Kind::Print);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QLatin1String("File types for drive /v1")), qPrintable(text));
        QVERIFY(text.contains(QLatin1String(".QQZ")));
        QVERIFY2(text.contains(QLatin1String("12,345")), qPrintable(text));
        QVERIFY(text.contains(QLatin1String("Totals")));
    }

    // A statistics run over a small tree: the listings show what vastel-scan stats counts.
    void realRunMatchesVastelScan() {
        TempTree tree;
        tree.createFile("a.txt", 10);
        tree.createFile("sub/b.TXT", 20000);
        tree.createFile("c.doc", 5000);
        tree.createFile("sub/deeper/noext", 7);
        tree.createFile("d.jpeg", 70000);
        tree.createFile("e.class", 3);  // too long an extension for the listing
        tree.createFile("big.iso", 3 * 1048576 + 5);
        writeExtraFolders({tree.root()});
        const QString text = QString::fromUtf8(tree.root());
        w->runWizard = pick(text);
        w->show();
        choose(0);
        w->btOK->click();
        QCOMPARE(w->tallies().filesProcessed, 7);

        QProcess scan;
        scan.start(QStringLiteral(VASTEL_SCAN_PATH), {QStringLiteral("stats"), text});
        QVERIFY(scan.waitForFinished(30000));
        QCOMPARE(scan.exitCode(), 0);
        std::map<QString, QStringList> types;
        std::map<QString, qint64> sizeCount, sizeBytes;
        for (const QByteArray& line : scan.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> f = line.split('\t');
            if (f.value(0) == "type" && f.size() == 4)
                types[QString::fromUtf8(f[1])] = {
                    QString::fromUtf8(f[1]), fileTypeText(QString::fromUtf8(f[1])),
                    numberText(f[3].toDouble()), numberText(f[2].toDouble()),
                    averageText(f[2].toLongLong(), f[3].toLongLong())};
            else if (f.value(0) == "sizeCount" && f.size() == 3)
                sizeCount[QString::fromUtf8(f[1])] = f[2].toLongLong();
            else if (f.value(0) == "sizeBytes" && f.size() == 3)
                sizeBytes[QString::fromUtf8(f[1])] = f[2].toLongLong();
        }
        QCOMPARE(int(types.size()), 5);  // "", .DOC, .ISO, .JPEG, .TXT
        QCOMPARE(w->gridTypes->rowCount(), int(types.size()) + 1);
        qint64 files = 0, bytes = 0;
        for (int r = 0; r + 1 < w->gridTypes->rowCount(); ++r) {
            const QStringList row = rowOf(w->gridTypes, r);
            QVERIFY2(types.count(row[0]), qPrintable(row[0]));
            QCOMPARE(row, types[row[0]]);
            files += digitsOnly(row[3]).toLongLong();
            bytes += digitsOnly(row[2]).toLongLong();
        }
        const QStringList totals = rowOf(w->gridTypes, w->gridTypes->rowCount() - 1);
        QCOMPARE(totals.mid(1, 3),
                 QStringList({"Totals", numberText(double(bytes)), numberText(double(files))}));
        QCOMPARE(int(sizeCount.size()), 12);
        for (int k = 1; k <= 12; ++k) {
            const QString key = QString::number(k);
            QCOMPARE(rowOf(w->gridSizes, 12 - k),
                     QStringList({sizeBucketLabel(k), numberText(double(sizeBytes[key])),
                                  thousandsText(sizeCount[key])}));
        }
    }
};

QTEST_MAIN(StatTypesPagesTest)
#include "StatTypesPagesTest.moc"
