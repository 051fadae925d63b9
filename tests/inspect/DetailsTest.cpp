#include "PeFixture.h"
#include "core/DateTexts.h"
#include "results/PrintIt.h"
#include "core/Utility.h"
#include "inspect/ui/FileIcon.h"
#include "inspect/TfrmDetails.h"
#include "inspect/TfrmView.h"
#include "platform/DirEntry.h"
#include "platform/PackedStamp.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Shell.h"
#include "platform/Volumes.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"

#include <sys/stat.h>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

void onNextModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        if (QWidget* modal = QApplication::activeModalWidget())
            action(modal);
        else
            onNextModal(action);
    });
}

}  // namespace

// The details window: its fields, its buttons and the report it prints.
class DetailsTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempTree> tree;
    std::unique_ptr<ScriptedDialogs> script;
    std::unique_ptr<test::LocaleScope> locale;
    test::TestContext context;
    QByteArray textFile, programFile;

    std::unique_ptr<TfrmDetails> show(const QByteArray& path) {
        auto details = std::make_unique<TfrmDetails>(context);
        details->detailsFile = path;
        details->show();
        if (!QTest::qWaitForWindowExposed(details.get())) return nullptr;
        return details;
    }

  private Q_SLOTS:
    void initTestCase() {
        locale = std::make_unique<test::LocaleScope>(test::kEnglishUs);
        tree = std::make_unique<TempTree>();
        script = std::make_unique<ScriptedDialogs>();
        const time_t now = time(nullptr);
        textFile = tree->createFile("report.txt", 5000, now, now);
        test::PeFixture pe;
        pe.strings = {{"CompanyName", "Tessivo Corporation"},
                      {"LegalCopyright", "  Copyright (C) 1999"},
                      {"ProductName", "Vastel 99"}};
        programFile = tree->createFileWith("vastel.exe", pe.build(), now, now);
    }
    void cleanupTestCase() {
        setOpenUrlHandler(nullptr);
        script.reset();
        tree.reset();
        locale.reset();
    }
    void init() { script->clear(); }

    void fillsEveryField() {
        auto details = show(textFile);
        QVERIFY(details);
        QCOMPARE(details->windowTitle(), QStringLiteral("File Details"));
        QCOMPARE(details->lblFileName->text(), QString::fromUtf8(textFile));
        QCOMPARE(details->lblFileType->text(), fileTypeText(QStringLiteral(".txt")));
        QCOMPARE(details->lblSizeBytes->text(), QStringLiteral("5,000 bytes"));
        QCOMPARE(details->lblSizeK->text(), clusterUsageText(5000, clusterSize(textFile)));
        QVERIFY(details->lblSizeK->text().startsWith(QStringLiteral("Cluster size: ")));
        DirEntry entry;
        QVERIFY(statPath(textFile, entry));
        QCOMPARE(details->lblModify->text(),
                 fileDateText(entry.lastWrite) + QStringLiteral("  Today"));
        QCOMPARE(details->lblAccess->text(),
                 fileDateText(entry.lastAccess) + QStringLiteral("  Today"));
        // The creation date only where the file system keeps one.
        QCOMPARE(details->lblCreate->text(),
                 entry.creation ? fileDateText(entry.creation) + QStringLiteral("  Today")
                                : QStringLiteral("???"));
        QCOMPARE(details->lblAttributes->text(), QString());
        QVERIFY(!details->Image1->pixmap().isNull());
        QCOMPARE(details->btLaunch->toolTip(), QStringLiteral("Run/launch associated application"));
        QCOMPARE(details->btView->toolTip(), QStringLiteral("View file"));
        QCOMPARE(details->btPrint->toolTip(), QStringLiteral("Print file details"));
    }

    void dateTexts() {
        QCOMPARE(stampDateText(0), QStringLiteral("???"));
        const quint32 stamp = packDosStamp(2001, 2, 3, 4, 5, 6);
        QCOMPARE(stampDateText(stamp), fileDateText(stamp) + QStringLiteral("  ") +
                                           relativeDateText(fileDateValue(stamp)));
    }

    void clusterTexts_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("cluster");
        QTest::addColumn<QString>("text");
        QTest::newRow("5000 bytes")
            << qint64(5000) << qint64(4096) << "Cluster size: 4,096  Clusters used : 2";
        QTest::newRow("exactly two")
            << qint64(8192) << qint64(4096) << "Cluster size: 4,096  Clusters used : 2";
        QTest::newRow("one byte") << qint64(1) << qint64(4096)
                                  << "Cluster size: 4,096  Clusters used : 1";
        QTest::newRow("empty") << qint64(0) << qint64(4096)
                               << "Cluster size: 4,096  Clusters used : 0";
        QTest::newRow("past 4 GiB")
            << (qint64(5) << 30) << qint64(65536) << "Cluster size: 65,536  Clusters used : 81,920";
        QTest::newRow("no cluster size")
            << qint64(5000) << qint64(0) << "Cluster size: ?  Clusters used : ?";
    }
    void clusterTexts() {
        QFETCH(qint64, size);
        QFETCH(qint64, cluster);
        QFETCH(QString, text);
        QCOMPARE(clusterUsageText(size, cluster), text);
    }

    void attributes() {
        QCOMPARE(attributeWords(faReadOnly | faHidden | faArchive),
                 QStringLiteral(" ReadOnly Hidden Archive"));
        QCOMPARE(attributeWords(0x3F),
                 QStringLiteral(" ReadOnly Hidden System VolumeID Directory Archive"));
        const QByteArray hidden = tree->createFileWith(".secret", "x");
        ::chmod(hidden.constData(), 0444);
        auto details = show(hidden);
        QCOMPARE(details->lblAttributes->text(), QStringLiteral(" ReadOnly Hidden"));
    }

    void versionLinesOnlyForProgramFiles() {
        auto text = show(textFile);
        QVERIFY(text->Memo1->isHidden());
        auto program = show(programFile);
        QVERIFY(!program->Memo1->isHidden());
        const QStringList lines = program->Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[0], QStringLiteral("Company: \tTessivo Corporation"));
        QCOMPARE(lines[4], QStringLiteral("Copyright: \t\tCopyright (C) 1999"));
        QCOMPARE(lines[8], QStringLiteral("Product name: \tVastel 99"));
        // Without the memo the window closes up below the attributes.
        QVERIFY(text->height() < program->height());
        QVERIFY(text->btClose->geometry().top() < text->pnlAttributes->geometry().bottom() + 30);
    }

    void openWithTheAssociatedProgram() {
        QList<QUrl> opened;
        setOpenUrlHandler([&](const QUrl& url) {
            opened << url;
            return true;
        });
        auto details = show(textFile);
        details->btLaunch->click();
        QCOMPARE(opened, QList<QUrl>{fileUrl(textFile)});
        QVERIFY(script->messages().isEmpty());

        setOpenUrlHandler([](const QUrl&) { return false; });
        details->btLaunch->click();
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral("Couldn't open ") + QString::fromUtf8(textFile)});
        QCOMPARE(script->records().last().icon, BoxIcon::Error);
        setOpenUrlHandler(nullptr);
    }

    void viewOpensTheViewerOnTheFile() {
        auto details = show(programFile);
        QByteArray viewed;
        onNextModal([&](QWidget* modal) {
            auto* view = qobject_cast<TfrmView*>(modal);
            QVERIFY(view);
            viewed = view->viewFile;
            view->close();
        });
        details->btView->click();
        QCOMPARE(viewed, programFile);
    }

    void printsTheDetailsReport() {
        auto details = show(programFile);
        const QString pdf = QDir::tempPath() + QStringLiteral("/details.pdf");
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);

        script->answerPrint(false);
        details->btPrint->click();
        QVERIFY(details->lb.isEmpty());
        QVERIFY(!QFileInfo::exists(pdf));

        script->answerPrint(true);
        details->btPrint->click();
        QStringList expected = {
            QStringLiteral("Name of file : \t") + QString::fromUtf8(programFile),
            QStringLiteral("Type of file : \t") + details->lblFileType->text(),
            QStringLiteral(" "),
            QStringLiteral("Size of file : \t") + details->lblSizeBytes->text(),
            QStringLiteral("               \t") + details->lblSizeK->text(),
            QStringLiteral(" "),
            QStringLiteral("Creation date     : \t") + details->lblCreate->text(),
            QStringLiteral("Modification date : \t") + details->lblModify->text(),
            QStringLiteral("Access date       : \t") + details->lblAccess->text(),
            QStringLiteral(" "),
            QStringLiteral("Attributes : \t"),
            QStringLiteral(" "),
        };
        expected << details->Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(details->lb, expected);
        QVERIFY(QFileInfo::exists(pdf));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(printed.contains(QStringLiteral("File details of ")), qPrintable(printed));
        QVERIFY2(printed.contains(QStringLiteral("Tessivo Corporation")), qPrintable(printed));
        QFile::remove(pdf);
    }

    void aMissingFileFillsNothing() {
        const QByteArray missing = tree->path("gone.txt");
        auto details = show(missing);
        QCOMPARE(details->lblFileName->text(), QString());
        QCOMPARE(details->lblSizeBytes->text(), QString());
        QVERIFY(details->Image1->pixmap().isNull());
        setOpenUrlHandler([](const QUrl&) { return true; });
        details->btLaunch->click();  // the buttons still work on the path
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral("Couldn't open ") + QString::fromUtf8(missing)});
        setOpenUrlHandler(nullptr);
    }

    void icons() {
        QCOMPARE(fileIcon(tree->root()).cacheKey(), directoryIcon().cacheKey());
        QVERIFY(!fileIcon(textFile).isNull());
        QVERIFY(!fileIcon(tree->path("unknown.zzqq")).isNull());
        QVERIFY(!noIcon().pixmap(32, 32).isNull());
        QVERIFY(directoryIcon().cacheKey() != noIcon().cacheKey());
    }
};

VASTEL_QTEST_MAIN(DetailsTest)
#include "DetailsTest.moc"
