#include "PeFixture.h"
#include "core/DialogJobSink.h"
#include "inspect/ExtractStrings.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// Problems become the boxes the viewer shows.
DialogJobSink boxes;

struct ScanRun {
    int exitCode = -1;
    QByteArray out, err;
};

ScanRun scan(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VASTEL_SCAN_PROGRAM), args);
    ScanRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

TEST(ScanStrings, printsWhatTheExtractorWrites) {
    TempTree tree;
    QByteArray data;
    for (int i = 0; i < 500; ++i)
        data += QByteArray("record ") + QByteArray::number(i * 7919) + '\0' + "ab\x01" +
                "same line" + '\0' + "same line\x02";
    const QByteArray source = tree.createFileWith("data.bin", data);
    const QByteArray target = tree.path("strings.txt");
    ASSERT_TRUE(extractStrings(source, target, 5, 100, boxes));
    QFile written(QString::fromUtf8(target));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const ScanRun r = scan({"strings", QString::fromUtf8(source)});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, written.readAll());
    EXPECT_FALSE(r.out.isEmpty());
}

TEST(ScanVersion, printsTheUntabbedLines) {
    test::PeFixture pe;
    pe.strings = {{"CompanyName", "Tessivo\tCorporation"}, {"LegalCopyright", "(C) 1999\r\nall"}};
    TempTree tree;
    const ScanRun r =
        scan({"version", QString::fromUtf8(tree.createFileWith("p.exe", pe.build()))});
    EXPECT_EQ(r.exitCode, 0);
    // Tabs and line breaks inside a value are escaped, so each item keeps its own line.
    EXPECT_EQ(r.out,
              "Company: Tessivo\\tCorporation\nFile description: \nFile version: \n"
              "Internal name: \nCopyright: (C) 1999\\r\\nall\nTrademarks: \n"
              "Original filename: \nPrivate build info: \nProduct name: \nProduct version: \n"
              "Special build info: \n");
    const ScanRun text =
        scan({"version", QString::fromUtf8(tree.createFileWith("a.txt", "text\n"))});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.isEmpty());
}

TEST(ScanInspect, failuresAndUsage) {
    TempTree tree;
    for (const char* command : {"strings", "version"}) {
        const ScanRun missing = scan({command, QString::fromUtf8(tree.path("missing"))});
        EXPECT_EQ(missing.exitCode, 1) << command;
        EXPECT_TRUE(missing.err.contains("Could not open file")) << command;
        EXPECT_TRUE(missing.out.isEmpty()) << command;
        EXPECT_EQ(scan({command}).exitCode, 2) << command;
        EXPECT_EQ(scan({command, "a", "b"}).exitCode, 2) << command;
    }
}

}  // namespace
