#include "core/GridModel.h"
#include "results/PrintIt.h"
#include "results/TextDevice.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedDialogs.h"
#include "support/LocaleScope.h"
#include "support/TestSandbox.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

using namespace vastel;

namespace {

// A device that records what reaches it and fails at a chosen step: 0 opening, 1 the first
// line, 2 the second, ...; -1 closing; anything else never.
class FailingDevice : public TextDevice {
  public:
    explicit FailingDevice(int failAt) : failAt_(failAt) {}
    bool open(const QFont& font, const QString& jobName) override {
        font_ = font;
        jobName_ = jobName;
        opened = failAt_ != 0;
        return opened;
    }
    bool writeLine(const QString& text) override {
        ++attempts;
        if (attempts == failAt_) return false;
        // Lines are written under the hourglass, the header lines before it.
        cursors.append(QGuiApplication::overrideCursor() != nullptr);
        lines.append(text);
        return true;
    }
    bool close() override {
        if (opened) ++closes;
        opened = false;
        return failAt_ != -1;
    }

    QFont font_;
    QString jobName_;
    bool opened = false;
    int attempts = 0;
    int closes = 0;
    QStringList lines;
    QList<bool> cursors;

  private:
    int failAt_;
};

}  // namespace

// Reports printed to PDF and read back as text, and every failure on the way.
class GridPrintTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    QString pdfPath;

    // The report's pages as text lines, rebuilt from the position of every word so that the
    // columns of the fixed-pitch font come out exactly: column = distance from the printable
    // area's left edge / the advance of one character; line = distance from the first line /
    // the line pitch.
    QList<QStringList> pdfPages(const QString& path) {
        QProcess p;
        p.start("pdftotext", {"-bbox", path, "-"});
        if (!p.waitForFinished(30000)) return {};
        const QString html = QString::fromUtf8(p.readAllStandardOutput());
        const qreal left = currentPrinter().pageLayout().paintRect(QPageLayout::Point).left();
        const QRegularExpression word(
            QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                           "yMax=\"[\\d.]+\">(.*?)</word>"));
        QList<QStringList> pages;
        for (const QString& page :
             html.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1)) {
            struct Word {
                qreal x, y;
                QString text;
            };
            QList<Word> words;
            qreal advance = 0;
            for (auto it = word.globalMatch(page); it.hasNext();) {
                const auto m = it.next();
                QString text = m.captured(4);
                text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
                text.replace("&apos;", "'").replace("&amp;", "&");
                const qreal x = m.captured(1).toDouble();
                advance = std::max(advance, (m.captured(3).toDouble() - x) / text.size());
                words.append({x, m.captured(2).toDouble(), text});
            }
            QList<qreal> ys;
            for (const Word& w : words) ys.append(w.y);
            std::sort(ys.begin(), ys.end());
            qreal pitch = 1e9;
            for (int i = 1; i < ys.size(); ++i)
                if (ys[i] - ys[i - 1] > 1) pitch = std::min(pitch, ys[i] - ys[i - 1]);
            QStringList lines;
            for (const Word& w : words) {
                const int line = ys.isEmpty() ? 0 : int(std::lround((w.y - ys.first()) / pitch));
                const int column = int(std::lround((w.x - left) / advance));
                while (lines.size() <= line) lines.append(QString());
                QString& l = lines[line];
                if (l.size() < column) l = l.leftJustified(column, QLatin1Char(' '));
                l.replace(column, w.text.size(), w.text);
            }
            pages.append(lines);
        }
        return pages;
    }
    QStringList pdfLines(const QString& path) {
        QStringList all;
        for (const QStringList& page : pdfPages(path)) all += page;
        return all;
    }

    // The print dialog is answered by the script; the report goes to a PDF file.
    bool printDialogConfirmed() {
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdfPath);
        return dialogs().printDialog(currentPrinter(), false);
    }

    static std::unique_ptr<GridModel> sampleGrid(int rows) {
        auto grid = std::make_unique<GridModel>(QStringList{"Size", "FileName", "Hidden"});
        for (int i = 0; i < rows; ++i) {
            GridRow row;
            row.cells = {QString::number(i), QStringLiteral("name%1-abcdefghijklmnop").arg(i),
                         QStringLiteral("x")};
            grid->appendRow(row);
        }
        return grid;
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        pdfPath = QDir::temp().filePath(QStringLiteral("report.pdf"));
    }
    void cleanupTestCase() { delete script; }
    void init() {
        script->clear();
        QFile::remove(pdfPath);
    }

    void gridPrintsInFixedWidthColumns() {
        test::LocaleScope locale(test::kEnglishUs);
        GridModel grid({"Size", "FileName", "Narrow", "Type"});
        grid.appendRow({{"1,234,567", "a-very-long-file-name.txt", "zzz", "TXT"}, "/a", false, {}});
        grid.appendRow({{"12", "short", "", "Text Document"}, "/b", false, {}});
        script->answerPrint(true);
        QVERIFY(printDialogConfirmed());
        QVERIFY(printGrid(grid, {60, 90, 5, 36}, QStringLiteral("File Hogs over 1 MB")));
        QVERIFY(script->messages().isEmpty());

        const QList<QStringList> pages = pdfPages(pdfPath);
        QCOMPARE(pages.size(), 1);
        const QStringList& lines = pages.first();
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QStringLiteral("File Hogs over 1 MB"));
        // Short date, two blanks, long time.
        QVERIFY2(QRegularExpression(
                     QStringLiteral(
                         "^Printed : \\d{1,2}/\\d{1,2}/\\d\\d  \\d{1,2}:\\d\\d:\\d\\d [AP]M$"))
                     .match(lines[1])
                     .hasMatch(),
                 qPrintable(lines[1]));
        QVERIFY(lines[2].isEmpty() && lines[3].isEmpty());
        // 60 px = 10 characters, 90 px = 15, 5 px = none, 36 px = 6; each field and a blank.
        QCOMPARE(lines[4], QStringLiteral("Size       FileName         Type"));
        QCOMPARE(lines[5], QStringLiteral("1,234,567  a-very-long-fil  TXT"));
        QCOMPARE(lines[6], QStringLiteral("12         short            Text D"));
    }

    void gridFieldsCutAndPad() {
        QCOMPARE(gridField("abcdefghijklmnop", 60), QStringLiteral("abcdefghij "));
        QCOMPARE(gridField("abc", 60), QStringLiteral("abc        "));
        QCOMPARE(gridField("abc", 65), QStringLiteral("abc        "));
        QCOMPARE(gridField("abc", 5), QStringLiteral(" "));
        QCOMPARE(gridField("abc", 0), QStringLiteral(" "));
        QCOMPARE(gridField("abc", -10), QStringLiteral(" "));
        QCOMPARE(gridField("", 12), QStringLiteral("   "));
        // A character outside the basic plane is never cut in half.
        QCOMPARE(gridField(QStringLiteral("a\U0001F600b"), 12), QStringLiteral("a  "));
    }

    // A full page starts the next one; no line is lost or repeated, and no header is repeated.
    void longGridsBreakIntoPages() {
        test::LocaleScope locale(test::kEnglishUs);
        auto grid = sampleGrid(300);
        QTableView view;
        view.setModel(grid.get());
        view.horizontalHeader()->resizeSection(0, 48);
        view.horizontalHeader()->resizeSection(1, 120);
        view.setColumnHidden(2, true);
        script->answerPrint(true);
        QVERIFY(printDialogConfirmed());
        QVERIFY(printGrid(view, QStringLiteral("Temporary files on drive(s) R ")));

        const QList<QStringList> pages = pdfPages(pdfPath);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        const int perPage = int(pages.first().size());
        QVERIFY(perPage > 20);
        QStringList lines;
        for (int p = 0; p < pages.size(); ++p) {
            // Every page but the last is full; the last holds the rest.
            if (p + 1 < pages.size()) QCOMPARE(int(pages[p].size()), perPage);
            lines += pages[p];
        }
        QCOMPARE(lines.size(), 305);
        QCOMPARE(lines[0], QStringLiteral("Temporary files on drive(s) R"));
        QCOMPARE(lines[4], QStringLiteral("Size     FileName"));
        for (int i = 0; i < 300; ++i)  // 48 px = 8 characters, 120 px = 20, hidden = none
            QCOMPARE(lines[5 + i],
                     QStringLiteral("%1 %2")
                         .arg(QString::number(i), -8)
                         .arg(QStringLiteral("name%1-abcdefghijklmnop").arg(i).left(20)));
    }

    void headerOnlyGridPrintsFiveLines() {
        auto grid = sampleGrid(0);
        script->answerPrint(true);
        QVERIFY(printDialogConfirmed());
        QVERIFY(printGrid(*grid, {60, 60, 60}, QStringLiteral("Folder hogs on drive(s) R ")));
        const QStringList lines = pdfLines(pdfPath);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[4], QStringLiteral("Size       FileName   Hidden"));
    }

    void tabListIndentsAndKeepsTabs() {
        test::LocaleScope locale(test::kGerman);
        script->answerPrint(true);
        QVERIFY(printDialogConfirmed());
        QVERIFY(printTabList({"Name:\treport.doc", "Size:\t1.234 bytes", "Type: Document"},
                             QStringLiteral("File details of /home/ann/report.doc")));
        const QStringList lines = pdfLines(pdfPath);
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QStringLiteral("   File details of /home/ann/report.doc"));
        QVERIFY2(
            QRegularExpression(
                QStringLiteral("^   Printed : \\d\\d\\.\\d\\d\\.\\d\\d  \\d\\d:\\d\\d:\\d\\d$"))
                .match(lines[1])
                .hasMatch(),
            qPrintable(lines[1]));
        QVERIFY(lines[2].isEmpty() && lines[3].isEmpty());
        // The tab stays a tab: it prints as a gap, not as the blank of the text device's line.
        QVERIFY2(QRegularExpression(QStringLiteral("^   Name: +report\\.doc$"))
                     .match(lines[4])
                     .hasMatch(),
                 qPrintable(lines[4]));
        QVERIFY(lines[4].indexOf(QLatin1String("report")) > 9);
        QVERIFY(lines[5].startsWith(QLatin1String("   Size: ")));
        QCOMPARE(lines[6], QStringLiteral("   Type: Document"));
    }

    void unopenablePrinterReportsAnError() {
        script->answerPrint(true);
        QVERIFY(printDialogConfirmed());
        currentPrinter().setOutputFileName(QDir::temp().filePath("no/such/folder/report.pdf"));
        QVERIFY(!printTabList({"a"}, QStringLiteral("t")));
        QCOMPARE(script->messages(), QStringList{"Error printing report ... quitting"});
        QCOMPARE(script->records().last().icon, BoxIcon::Error);
        auto grid = sampleGrid(2);
        QVERIFY(!printGrid(*grid, {60}, QStringLiteral("t")));
        QCOMPARE(script->messages().size(), 2);
    }

    void everyFailingStepEndsTheReport_data() {
        QTest::addColumn<int>("failAt");
        QTest::addColumn<int>("linesWritten");
        QTest::newRow("open") << 0 << 0;
        QTest::newRow("title") << 1 << 0;
        QTest::newRow("printed line") << 2 << 1;
        QTest::newRow("empty line") << 3 << 2;
        QTest::newRow("heading row") << 5 << 4;
        QTest::newRow("third data row") << 8 << 7;
        QTest::newRow("closing") << -1 << 9;
    }
    void everyFailingStepEndsTheReport() {
        QFETCH(int, failAt);
        QFETCH(int, linesWritten);
        auto grid = sampleGrid(4);
        FailingDevice device(failAt);
        QVERIFY(!printGrid(device, *grid, {60, 60, 60}, QStringLiteral("Files Modified before x")));
        QCOMPARE(script->messages(), QStringList{"Error printing report ... quitting"});
        QCOMPARE(device.lines.size(), linesWritten);
        QCOMPARE(device.closes, failAt == 0 ? 0 : 1);  // every opened device is closed once
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void devicesGetTheReportsFontsAndCursor() {
        auto grid = sampleGrid(2);
        FailingDevice gridDevice(1000);
        QVERIFY(printGrid(gridDevice, *grid, {60, 60, 60}, QStringLiteral("Duplicates ")));
        QCOMPARE(gridDevice.font_.family(), QStringLiteral("Courier New"));
        QCOMPARE(gridDevice.font_.pointSize(), 8);
        QCOMPARE(gridDevice.jobName_, QStringLiteral("Duplicates "));
        QCOMPARE(gridDevice.lines.size(), 7);
        QCOMPARE(gridDevice.cursors, (QList<bool>{false, false, false, false, true, true, true}));
        QCOMPARE(gridDevice.closes, 1);

        FailingDevice listDevice(1000);
        QVERIFY(printTabList(listDevice, {"a\tb"}, QStringLiteral("t")));
        QCOMPARE(listDevice.font_.family(), QStringLiteral("Courier"));
        QCOMPARE(listDevice.font_.pointSize(), 8);
        QCOMPARE(listDevice.lines.last(), QStringLiteral("   a\tb"));
        QVERIFY(script->messages().isEmpty());
    }
};

VASTEL_QTEST_MAIN(GridPrintTest)
#include "gridPrintTest.moc"
