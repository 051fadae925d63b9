#include "platform/FileTypes.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace vastel;

TEST(FileTypes, ExtensionGivesTheGlobsTypeAndComment) {
    const FileTypeInfo txt = fileTypeOfExtension(QStringLiteral(".txt"));
    EXPECT_EQ(txt.identifier, QStringLiteral("text/plain"));
    EXPECT_FALSE(txt.description.isEmpty());
    // Globs are matched without regard to case unless the database says otherwise.
    EXPECT_EQ(fileTypeOfExtension(QStringLiteral(".PNG")).identifier, QStringLiteral("image/png"));
    EXPECT_EQ(fileTypeOfExtension(QStringLiteral(".zip")).identifier,
              QStringLiteral("application/zip"));
}

TEST(FileTypes, UnknownExtensions) {
    for (const char* ext : {"", ".qqq", "*.", "*.txt", ".", "txt", ".a/b"}) {
        const FileTypeInfo info = fileTypeOfExtension(QString::fromLatin1(ext));
        EXPECT_TRUE(info.identifier.isEmpty()) << ext;
        EXPECT_TRUE(info.description.isEmpty()) << ext;
    }
}

TEST(FileTypes, RegisteredPatterns) {
    const QStringList patterns = registeredExtensionPatterns();
    ASSERT_GT(patterns.size(), 100);
    QSet<QString> folded;
    for (qsizetype i = 0; i < patterns.size(); ++i) {
        const QString& p = patterns[i];
        ASSERT_TRUE(p.startsWith(QLatin1String("*."))) << p.toStdString();
        const QString suffix = p.mid(2);
        EXPECT_GE(suffix.size(), 1) << p.toStdString();
        EXPECT_LE(suffix.size(), 4) << p.toStdString();
        for (const QChar c : suffix) EXPECT_TRUE(c != u'*' && c != u'?' && c != u'[' && c != u'.');
        EXPECT_EQ(p, p.toLower());
        folded.insert(p.toLower());
        EXPECT_EQ(folded.size(), i + 1) << "repeat " << p.toStdString();
        if (i > 0) {
            EXPECT_LT(QString::compare(patterns[i - 1], p, Qt::CaseInsensitive), 0);
        }
    }
    for (const char* expected : {"*.txt", "*.png", "*.zip", "*.c", "*.html", "*.jpeg"})
        EXPECT_TRUE(patterns.contains(QLatin1String(expected))) << expected;
    for (const char* longer : {"*.tar.gz", "*.desktop", "*.torrent"})
        EXPECT_FALSE(patterns.contains(QLatin1String(longer))) << longer;
    // Every listed pattern names a known type.
    for (const QString& p : patterns)
        EXPECT_FALSE(fileTypeOfExtension(p.mid(1)).identifier.isEmpty()) << p.toStdString();
    EXPECT_EQ(registeredExtensionPatterns(), patterns);
}
