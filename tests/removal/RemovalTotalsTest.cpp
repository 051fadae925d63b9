#include "core/DateTexts.h"
#include "core/SettingsStore.h"
#include "removal/RemovalTotals.h"

#include <gtest/gtest.h>

#include <QDate>

using namespace vastel;

namespace {

qint64 total(const char* key) {
    return SettingsStore().readInt64(QStringLiteral("Vastel"), QLatin1String(key), -1);
}

void resetTotals() {
    SettingsStore store;
    for (const char* key :
         {"Ndelete", "SizeDelete", "NWaste", "SizeWaste", "DelDate", "NZip", "SizeZip", "ZipDate"})
        store.writeInt64(QStringLiteral("Vastel"), QLatin1String(key), -1);
}

}  // namespace

// After a reset, a deletion writes its counts and today's day; a later recycling adds to its
// own keys and leaves the date alone.
TEST(RemovalTotals, ResetThenDeleteThenRecycle) {
    resetTotals();
    addRemovalTotals(2, 100, 0, 0);
    EXPECT_EQ(total("Ndelete"), 2);
    EXPECT_EQ(total("SizeDelete"), 100);
    EXPECT_EQ(total("NWaste"), 0);
    EXPECT_EQ(total("SizeWaste"), 0);
    const int today = dayNumber(QDate::currentDate());
    EXPECT_EQ(total("DelDate"), today);

    SettingsStore().writeInt64(QStringLiteral("Vastel"), QStringLiteral("DelDate"), today - 30);
    addRemovalTotals(0, 0, 3, 50);
    EXPECT_EQ(total("Ndelete"), 2);
    EXPECT_EQ(total("NWaste"), 3);
    EXPECT_EQ(total("SizeWaste"), 50);
    EXPECT_EQ(total("DelDate"), today - 30);
    EXPECT_EQ(total("ZipDate"), -1);  // archiving keys untouched
}

// Missing keys count as -1; totals past 2,147,483,647 are stored and read back exactly.
TEST(RemovalTotals, ArchiveTotalsAreSixtyFourBit) {
    SettingsStore().writeInt64(QStringLiteral("Vastel"), QStringLiteral("SizeZip"), 2147483000LL);
    addArchiveTotals(1, 3LL << 30);
    addArchiveTotals(2, 5000000000LL);
    EXPECT_EQ(total("NZip"), 3);
    EXPECT_EQ(total("SizeZip"), 2147483000LL + (3LL << 30) + 5000000000LL);
    EXPECT_EQ(total("ZipDate"), dayNumber(QDate::currentDate()));
}
