// The Access, Created, Modified, Combined, Attribute and Time pages of the statistics window.
#include "core/DriveEntries.h"
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

#include <sys/stat.h>
#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTime>
#include <QToolBar>
#include <QValueAxis>
#include <map>

using namespace vastel;
using vastel::test::LocaleScope;
using vastel::test::TempTree;

namespace {

constexpr double kMB = 1048576.0;
const QColor kPalette[10] = {QColor(255, 0, 0),   QColor(128, 0, 0),   QColor(0, 0, 255),
                             QColor(255, 255, 0), QColor(0, 128, 0),   QColor(0, 255, 0),
                             QColor(255, 0, 255), QColor(0, 128, 128), QColor(0, 0, 128),
                             QColor(0, 255, 255)};

// Every age bucket differs from the others and from the other dates.
StatTallies ageTallies() {
    StatTallies t;
    for (int b = 0; b < 10; ++b) {
        t.accessCount[size_t(b)] = 100 + b;
        t.accessBytes[size_t(b)] = qint64(b + 1) * 1048576;
        t.createCount[size_t(b)] = 200 + b;
        t.createBytes[size_t(b)] = qint64(b + 1) * 2097152;
        t.modifyCount[size_t(b)] = 1000 * (b + 1);
        t.modifyBytes[size_t(b)] = qint64(b + 1) * 1'000'000'000LL;
    }
    return t;
}

// The value of each bar of a series whose bars each sit in their own set (one slot each).
QList<double> barValues(QAbstractBarSeries* series) {
    QList<double> values;
    const QList<QBarSet*> sets = series->barSets();
    for (int i = 0; i < sets.size(); ++i) values << sets[i]->at(i);
    return values;
}

// The four shares of an attribute chart (one bar set), or none.
QList<double> shares(QAbstractBarSeries* series) {
    if (series->barSets().isEmpty()) return {};
    QList<double> values;
    for (int i = 0; i < series->barSets()[0]->count(); ++i) values << series->barSets()[0]->at(i);
    return values;
}

QList<double> setValues(QBarSet* set) {
    QList<double> values;
    for (int i = 0; i < set->count(); ++i) values << set->at(i);
    return values;
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

// vastel-scan stats over a folder: name -> index -> value (index -1 for plain lines).
std::map<QString, std::map<int, qint64>> scanStats(const QByteArray& root) {
    QProcess p;
    p.start(QStringLiteral(VASTEL_SCAN_PATH), {QStringLiteral("stats"), QString::fromUtf8(root)});
    std::map<QString, std::map<int, qint64>> out;
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return out;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() == 2) out[f[0]][-1] = f[1].toLongLong();
        if (f.size() == 3 && f[0] != QLatin1String("type"))
            out[f[0]][f[1].toInt()] = f[2].toLongLong();
    }
    return out;
}

}  // namespace

class StatAgePagesTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<test::TestContext> context_;
    TfrmStatistics* w = nullptr;
    ScriptedDialogs* dialogs_ = nullptr;
    std::unique_ptr<LocaleScope> locale_;

    void showPage(int page) {
        w->show();
        w->OvcNotebook1->setCurrentIndex(page);
    }

  private Q_SLOTS:
    void init() {
        locale_ = std::make_unique<LocaleScope>(test::kEnglishUs);
        dialogs_ = new ScriptedDialogs;
        context_ = std::make_unique<test::TestContext>();
        w = &context_->statistics();
    }
    void cleanup() {
        context_.reset();
        delete dialogs_;
        locale_.reset();
    }

    void ageListingsShowBucketNineFirst() {
        w->showTallies(ageTallies());
        const char* const headings[3] = {"Accessed Date", "Created Date", "Modified Date"};
        for (int i = 0; i < 3; ++i) {
            StatGrid* g = w->ageGrid[i];
            QCOMPARE(g->grid().headers(),
                     QStringList({QLatin1String(headings[i]), QStringLiteral("Total file size"),
                                  QStringLiteral("Number of files")}));
            QCOMPARE(g->rowCount(), 10);
            QCOMPARE(g->cell(0, 0), QStringLiteral("Over 4 years"));
            QCOMPARE(g->cell(9, 0), QStringLiteral("Not recorded"));
        }
        QCOMPARE(w->ageGrid[0]->cell(0, 1), QStringLiteral("10,485,760"));
        QCOMPARE(w->ageGrid[0]->cell(0, 2), QStringLiteral("109"));
        QCOMPARE(w->ageGrid[1]->cell(9, 1), QStringLiteral("2,097,152"));
        QCOMPARE(w->ageGrid[1]->cell(9, 2), QStringLiteral("200"));
        QCOMPARE(w->ageGrid[2]->cell(0, 1), QStringLiteral("10,000,000,000"));  // beyond 32 bits
        QCOMPARE(w->ageGrid[2]->cell(0, 2), QStringLiteral("10,000"));
        QCOMPARE(w->ageGrid[2]->cell(4, 0), QStringLiteral("121 - 365 days"));

        StatGrid* c = w->gridCombine;
        QCOMPARE(c->grid().headers(),
                 QStringList({QStringLiteral("Combined dates"), QStringLiteral("Access Size"),
                              QStringLiteral("Access # files"), QStringLiteral("Create Size"),
                              QStringLiteral("Create # files"), QStringLiteral("Modify Size"),
                              QStringLiteral("Modify # files")}));
        QCOMPARE(c->rowCount(), 10);
        for (int r = 0; r < 10; ++r) {
            QCOMPARE(c->cell(r, 0), w->ageGrid[2]->cell(r, 0));
            for (int k = 0; k < 3; ++k) {
                QCOMPARE(c->cell(r, 1 + 2 * k), w->ageGrid[k]->cell(r, 1));
                QCOMPARE(c->cell(r, 2 + 2 * k), w->ageGrid[k]->cell(r, 2));
            }
        }
    }

    void ageChartsFollowTheirRadioButtons() {
        w->showTallies(ageTallies());
        const char* const names[3] = {"Access", "Created", "Modified"};
        const StatTallies t = ageTallies();
        const StatTallies::AgeTally* counts[3] = {&t.accessCount, &t.createCount, &t.modifyCount};
        const StatTallies::AgeTally* bytes[3] = {&t.accessBytes, &t.createBytes, &t.modifyBytes};
        for (int i = 0; i < 3; ++i) {
            showPage(TfrmStatistics::pgAccess + i);
            QCOMPARE(w->ageChart[i]->chart()->title(),
                     QLatin1String(names[i]) + QStringLiteral(" Date (file sizes in MB)"));
            QAbstractBarSeries* s = w->ageSeries[i];
            QCOMPARE(s->barSets().size(), 10);
            QCOMPARE(w->ageAxisY[i]->categories().first(), QStringLiteral("Not recorded"));
            QCOMPARE(w->ageAxisY[i]->categories().last(), QStringLiteral("Over 4 years"));
            // Axis labels are rich text.
            QCOMPARE(w->ageAxisY[i]->categories()[1], QStringLiteral("&lt;= 7 days"));
            for (int b = 0; b < 10; ++b) {
                QCOMPARE(s->barSets()[b]->at(b), double((*bytes[i])[size_t(b)]) / kMB);
                QCOMPARE(s->barSets()[b]->color(), kPalette[b]);
            }
            QVERIFY(w->ageAxisX[i]->max() >= barValues(s).last());

            w->ageCount[i]->click();
            QCOMPARE(w->ageChart[i]->chart()->title(),
                     QLatin1String(names[i]) + QStringLiteral(" Date (Number of files)"));
            for (int b = 0; b < 10; ++b) QCOMPARE(barValues(s)[b], double((*counts[i])[size_t(b)]));
            QVERIFY(w->ageAxisX[i]->max() >= barValues(s).last());
            // The other pages keep their own choice.
            QVERIFY(w->ageChart[(i + 1) % 3]->chart()->title().endsWith(
                        QStringLiteral("(file sizes in MB)")) == (i < 2));
        }

        // Combined: three series side by side, Modified lowest, each in one colour.
        showPage(TfrmStatistics::pgCombined);
        QCOMPARE(w->combineSeries->barSets(),
                 (QList<QBarSet*>{w->Series8, w->Series7, w->Series6}));
        QCOMPARE(w->chartCombine->chart()->title(),
                 QStringLiteral("Combination Access/Created/Modified Chart"));
        QCOMPARE(w->Series6->label(), QStringLiteral("Accessed"));
        QCOMPARE(w->Series6->color(), QColor(0, 0, 255));
        QCOMPARE(w->Series7->color(), QColor(0, 255, 0));
        QCOMPARE(w->Series8->color(), QColor(255, 0, 0));
        QCOMPARE(setValues(w->Series8).size(), 10);
        QCOMPARE(setValues(w->Series8)[9], 10'000'000'000.0 / kMB);
        QCOMPARE(setValues(w->Series7)[0], 2.0);
        w->rbCombine2->click();
        QCOMPARE(setValues(w->Series6)[3], 103.0);
        QCOMPARE(w->combineAxisX->max(), 10000.0);
        QCOMPARE(w->chartCombine->chart()->title(),
                 QStringLiteral("Combination Access/Created/Modified Chart"));
    }

    void listingAndChartTakeTurns() {
        w->showTallies(ageTallies());
        for (int page = TfrmStatistics::pgAccess; page <= TfrmStatistics::pgCombined; ++page) {
            showPage(page);
            const bool combined = page == TfrmStatistics::pgCombined;
            const int i = page - TfrmStatistics::pgAccess;
            ChartPanel* chart = combined ? w->chartCombine : w->ageChart[i];
            StatGrid* grid = combined ? w->gridCombine : w->ageGrid[i];
            QRadioButton* listing = combined ? w->rgCombine0 : w->ageListing[i];
            QRadioButton* counts = combined ? w->rbCombine2 : w->ageCount[i];
            QVERIFY(chart->isVisible() && chart->toolBar()->isVisible());
            QVERIFY(!grid->isVisible());
            listing->click();
            QVERIFY(grid->isVisible());
            QVERIFY(!chart->isVisible() && !chart->toolBar()->isVisible());
            counts->click();
            QVERIFY(!grid->isVisible());
            QVERIFY(chart->isVisible() && chart->toolBar()->isVisible());
        }
        // Off these pages a click only redraws the charts.
        showPage(TfrmStatistics::pgTime);
        w->ageSize[0]->setChecked(true);
        w->rgAccessClick();
        QCOMPARE(w->ageChart[0]->chart()->title(),
                 QStringLiteral("Access Date (file sizes in MB)"));
        QVERIFY(w->ageGrid[0]->isHidden());
    }

    void informationButtons() {
        const QList<QPair<QPushButton*, QString>> cases = {
            {w->ageInfo[0],
             QStringLiteral("Note: prior versions of Windows and DOS did not store the file "
                            "access date.  Files never recorded as being accessed are probably "
                            "old files that were converted to Windows 95/98.")},
            {w->ageInfo[1],
             QStringLiteral("Files never recorded as being created are probably old files that "
                            "were converted to Windows 95/98.  Note: prior versions of Windows "
                            "and DOS did not store the file creation date independent of the "
                            "last file modification or file write date.")},
            {w->ageInfo[2],
             QStringLiteral("Note: prior versions of Windows and DOS treated the file creation "
                            "date synonomously  with the last file modification date.  "
                            "Therefore all files have a file modification date.")},
            {w->SpeedButton4,
             QStringLiteral("This chart combines the Accessed, Created and Modified charts")},
            {w->SpeedButton5,
             QStringLiteral("Note: Sometimes software vendors use the file modified time to "
                            "indicate the version number of a product. For example, a file with "
                            "the time of 02:10 am would represent version 2.1 of a certain "
                            "product.  Note that files with a time of 12:00:00 am are excluded "
                            "from this graph.")}};
        for (int k = 0; k < cases.size(); ++k) {
            QCOMPARE(cases[k].first->objectName(), QStringLiteral("SpeedButton%1").arg(k + 1));
            dialogs_->clear();
            cases[k].first->click();
            QCOMPARE(dialogs_->messages(), QStringList{cases[k].second});
            QCOMPARE(dialogs_->records().last().icon, BoxIcon::Information);
        }
    }

    void attributeSharesOfTheLastRun() {
        StatTallies t;
        t.nHidden = 1;
        t.nReadOnly = 1;
        t.nSystem = 0;
        t.nArchive = 1;
        t.szHidden = 1000;
        t.szReadOnly = 3000;
        t.szSystem = 0;
        t.szArchive = 4'000'000'000LL;
        w->showTallies(t);
        QCOMPARE(w->lblNHidden->text(), QStringLiteral("1"));
        QCOMPARE(w->lblNSystem->text(), QStringLiteral("0"));
        QCOMPARE(w->lblSzArchive->text(), QStringLiteral("4,000,000,000"));
        QCOMPARE(w->lblSzReadOnly->text(), QStringLiteral("3,000"));
        // Archive, system, read-only, hidden: hidden stands at the top.
        QCOMPARE(shares(w->HorizBarSeries4), (QList<double>{33.33, 0, 33.33, 33.33}));
        QCOMPARE(shares(w->HorizBarSeries5), (QList<double>{100, 0, 0, 0}));
        QCOMPARE(w->HorizBarSeries4->barSets()[0]->color(), QColor(255, 0, 0));
        QCOMPARE(w->HorizBarSeries5->barSets()[0]->color(), QColor(0, 0, 255));
        QCOMPARE(w->HorizBarSeries4->labelsFormat(), QStringLiteral("@value %"));
        QCOMPARE(w->HorizBarSeries4->barWidth(), 0.45);

        // A second run: still four bars, the second run's shares.
        t.nHidden = 3;
        t.nSystem = 1;
        t.szArchive = 4000;
        t.szSystem = 2000;
        w->showTallies(t);
        QCOMPARE(w->lblNHidden->text(), QStringLiteral("3"));
        QCOMPARE(w->HorizBarSeries4->barSets().size(), 1);
        QCOMPARE(shares(w->HorizBarSeries4), (QList<double>{16.67, 16.67, 16.67, 50}));
        QCOMPARE(shares(w->HorizBarSeries5), (QList<double>{40, 20, 30, 10}));

        // Nothing with an attribute: no bars, no division.
        w->showTallies(StatTallies());
        QCOMPARE(w->HorizBarSeries4->barSets().size(), 0);
        QCOMPARE(w->HorizBarSeries5->barSets().size(), 0);
        QCOMPARE(w->lblSzHidden->text(), QStringLiteral("0"));
    }

    void timeLines() {
        StatTallies t;
        t.hourModified[1] = 5;
        t.hourModified[47] = 7;
        t.hourCreated[20] = 2;
        w->showTallies(t);
        showPage(TfrmStatistics::pgTime);
        for (QLineSeries* s : {w->Series10, w->Series11, w->Series12}) {
            QCOMPARE(s->count(), 48);
            QCOMPARE(s->at(0), QPointF(0, 0));
            QCOMPARE(s->at(47).x(), 47.0);
        }
        QCOMPARE(w->Series10->at(47).y(), 7.0);
        QCOMPARE(w->Series11->at(20).y(), 2.0);
        QCOMPARE(w->Series12->name(), QStringLiteral("Access Time"));
        QCOMPARE(w->Series11->name(), QStringLiteral("Created time"));
        QCOMPARE(w->Series10->name(), QStringLiteral("Modified time"));
        QVERIFY(!w->Series12->isVisible());  // no access time of day anywhere
        QVERIFY(w->Series10->isVisible());
        QCOMPARE(w->timeLabels.size(), 48);
        QCOMPARE(w->timeLabels[0], QLocale().toString(QTime(0, 0), QLocale::ShortFormat));
        QCOMPARE(w->timeLabels[47], QStringLiteral("11:30 PM"));
        QCOMPARE(w->timeAxisLeft->max(), 8.0);
        QCOMPARE(w->timeAxisRight->max(), 8.0);

        t.hourAccessed[30] = 40;
        w->showTallies(t);
        QVERIFY(w->Series12->isVisible());
        QVERIFY(w->timeAxisLeft->max() >= 40);

        // The depth sets the shadow lines off by more as it grows.
        QCOMPARE(w->sbTime->minimum(), 8);
        QCOMPARE(w->sbTime->maximum(), 70);
        QCOMPARE(w->sbTime->pageStep(), 5);
        QTRY_VERIFY(w->Chart4->chart()->plotArea().width() > 0);
        w->sbTime->setValue(8);
        const double small = w->timeShadow[2]->at(10).x() - 10;
        w->sbTime->setValue(70);
        const double large = w->timeShadow[2]->at(10).x() - 10;
        QVERIFY(small > 0);
        QVERIFY(large > small * 5);
    }

    void valueAxesFitTheirValues_data() {
        QTest::addColumn<double>("max");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("format");
        QTest::newRow("nothing") << 0.0 << false << 1.0 << 2 << "%.0f";
        QTest::newRow("one file") << 1.0 << true << 1.0 << 2 << "%.0f";
        QTest::newRow("three files") << 3.0 << true << 3.0 << 4 << "%.0f";
        QTest::newRow("a fraction of a MB") << 0.3 << false << 0.3 << 4 << "%.1f";
        QTest::newRow("2.5 steps") << 12.0 << false << 12.5 << 6 << "%.1f";
        QTest::newRow("thousands") << 12345.0 << true << 12500.0 << 6 << "%.0f";
        QTest::newRow("seven files") << 7.0 << true << 8.0 << 5 << "%.0f";
    }
    void valueAxesFitTheirValues() {
        QFETCH(double, max);
        QFETCH(bool, whole);
        QValueAxis axis;
        TfrmStatistics::fitValueAxis(&axis, max, whole);
        QCOMPARE(axis.min(), 0.0);
        QTEST(axis.max(), "top");
        QTEST(axis.tickCount(), "ticks");
        QTEST(axis.labelFormat(), "format");
    }

    void printsTheShownChartThroughItsPreview() {
        TempTree out;
        const QString pdf = QString::fromUtf8(out.path("chart.pdf"));
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        w->showTallies(ageTallies());
        w->collected = true;
        const auto count = [this](ScriptedDialogs::Kind kind) {
            int n = 0;
            for (const auto& r : dialogs_->records()) n += r.kind == kind;
            return n;
        };
        for (int page : {int(TfrmStatistics::pgModified), int(TfrmStatistics::pgTime)}) {
            showPage(page);
            dialogs_->clear();
            QFile::remove(pdf);
            dialogs_->answerPrint(true);
            w->btPrint->click();
            QCOMPARE(count(ScriptedDialogs::Kind::Preview), 1);
            QCOMPARE(count(ScriptedDialogs::Kind::Print), 0);
            QVERIFY(QFile(pdf).size() > 1000);
        }
        // With the listing shown the page is printed, not a chart.
        showPage(TfrmStatistics::pgModified);
        w->ageListing[2]->click();
        dialogs_->clear();
        w->btPrint->click();
        QCOMPARE(count(ScriptedDialogs::Kind::Preview), 0);
        QCOMPARE(count(ScriptedDialogs::Kind::Print), 1);
    }

    void runShowsWhatTheScanPrints_data() {
        QTest::addColumn<bool>("german");
        QTest::newRow("English") << false;
        QTest::newRow("German") << true;
    }
    void runShowsWhatTheScanPrints() {
        QFETCH(bool, german);
        LocaleScope scope(german ? test::kGerman : test::kEnglishUs);
        TempTree tree;
        const time_t now = time(nullptr);
        const time_t day = 86400;
        tree.createFile("new.txt", 1'234'567, now - 2 * day, now - 1 * day);
        tree.createFile("month.doc", 20'000, now - 45 * day, now - 20 * day);
        tree.createFile("a/year.dat", 70'000, now - 400 * day, now - 100 * day);
        tree.createFile("a/b/old.bin", 3'000'000, now - 6 * 365 * day, now - 5 * 365 * day);
        tree.createFile(".hidden", 10, now - 3 * day, now - 3 * day);
        const QByteArray locked =
            tree.createFile("locked.txt", 500, now - 800 * day, now - 2 * day);
        ::chmod(locked.constData(), 0444);
        writeExtraFolders({tree.root()});
        w->runWizard = pick(QString::fromUtf8(tree.root()));
        w->btOK->click();
        QCOMPARE(w->tallies().filesProcessed, 6);

        auto scan = scanStats(tree.root());
        QCOMPARE(scan[QStringLiteral("filesProcessed")][-1], 6);
        const char* const names[3] = {"access", "create", "modify"};
        for (int i = 0; i < 3; ++i) {
            const QString bytes = QLatin1String(names[i]) + QStringLiteral("Bytes");
            const QString counts = QLatin1String(names[i]) + QStringLiteral("Count");
            for (int b = 0; b < 10; ++b) {
                const int row = 9 - b;
                QCOMPARE(w->ageGrid[i]->cell(row, 0), ageBucketLabel(b));
                QCOMPARE(w->ageGrid[i]->cell(row, 1), numberText(double(scan[bytes][b])));
                QCOMPARE(w->ageGrid[i]->cell(row, 2), thousandsText(scan[counts][b]));
                QCOMPARE(w->gridCombine->cell(row, 1 + 2 * i), numberText(double(scan[bytes][b])));
                QCOMPARE(w->gridCombine->cell(row, 2 + 2 * i), thousandsText(scan[counts][b]));
            }
        }
        // The walk found the dates it was given.
        QCOMPARE(scan[QStringLiteral("modifyCount")][9], 1);  // over 4 years
        QCOMPARE(scan[QStringLiteral("accessCount")][1], 3);  // <= 7 days
        const QString modifiedThisWeek =
            german ? QStringLiteral("1.234.577") : QStringLiteral("1,234,577");
        QCOMPARE(w->ageGrid[2]->cell(8, 1), modifiedThisWeek);  // new.txt and .hidden
        QCOMPARE(w->gridCombine->cell(8, 5), modifiedThisWeek);

        const QList<QPair<QLabel*, QString>> attrs = {
            {w->lblNHidden, QStringLiteral("nHidden")},
            {w->lblNReadOnly, QStringLiteral("nReadOnly")},
            {w->lblNSystem, QStringLiteral("nSystem")},
            {w->lblNArchive, QStringLiteral("nArchive")}};
        for (const auto& [label, name] : attrs)
            QCOMPARE(label->text(), thousandsText(scan[name][-1]));
        const QList<QPair<QLabel*, QString>> sizes = {
            {w->lblSzHidden, QStringLiteral("szHidden")},
            {w->lblSzReadOnly, QStringLiteral("szReadOnly")},
            {w->lblSzSystem, QStringLiteral("szSystem")},
            {w->lblSzArchive, QStringLiteral("szArchive")}};
        for (const auto& [label, name] : sizes)
            QCOMPARE(label->text(), numberText(double(scan[name][-1])));
        QCOMPARE(w->lblNHidden->text(), QStringLiteral("1"));
    }
};

QTEST_MAIN(StatAgePagesTest)
#include "StatAgePagesTest.moc"
