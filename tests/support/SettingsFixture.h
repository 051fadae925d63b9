#pragma once

#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace vastel::test {

// Each test starts without any settings files and may plant a raw main settings file.
class SettingsFixture : public ::testing::Test {
  protected:
    void SetUp() override { QDir(settingsFolder()).removeRecursively(); }

    static void writeRawFile(const QByteArray& content) {
        QDir().mkpath(settingsFolder());
        QFile f(mainSettingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray rawFile() {
        QFile f(mainSettingsFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

}  // namespace vastel::test
