// The rules that put one file into the statistics' buckets.
#include "platform/PackedStamp.h"
#include "stats/StatRules.h"
#include "stats/StatTallies.h"

#include <gtest/gtest.h>

namespace vastel {
namespace {

struct SizeCase {
    qint64 size;
    int bucket;
};

class SizeBucketTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeBucketTest, InclusiveUpperBounds) {
    EXPECT_EQ(sizeBucket(GetParam().size), GetParam().bucket) << GetParam().size;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, SizeBucketTest,
                         ::testing::Values(SizeCase{0, 1}, SizeCase{16384, 1}, SizeCase{16385, 2},
                                           SizeCase{32768, 2}, SizeCase{32769, 3},
                                           SizeCase{1048576, 7}, SizeCase{1048577, 8},
                                           SizeCase{16777216, 11}, SizeCase{16777217, 12},
                                           SizeCase{3LL << 30, 12}));

TEST(AgeBucket, Boundaries) {
    const std::pair<int, int> cases[] = {{-1, 0},   {0, 1},    {7, 1},    {8, 2},    {30, 2},
                                         {31, 3},   {365, 5},  {366, 6},  {1095, 7}, {1096, 8},
                                         {1460, 8}, {1461, 9}, {40000, 9}};
    for (const auto& [days, bucket] : cases) EXPECT_EQ(ageToIndex(days), bucket) << days;
}

TEST(AgeTable, CountsFromItsOwnTodayAndFoldsTheFuture) {
    const QDate today(2026, 3, 10);
    const AgeTable ages(today);
    const auto stamp = [](const QDate& d, int hour = 12) {
        return packDosStamp(d.year(), d.month(), d.day(), hour, 0, 0);
    };
    EXPECT_EQ(ages.ageInDays(0), -1);
    EXPECT_EQ(ages.bucket(0), 0);
    EXPECT_EQ(ages.ageInDays(stamp(today.addDays(-7))), 7);
    EXPECT_EQ(ages.bucket(stamp(today.addDays(-7))), 1);
    EXPECT_EQ(ages.bucket(stamp(today.addDays(-8))), 2);
    EXPECT_EQ(ages.bucket(stamp(today.addDays(-1460))), 8);
    EXPECT_EQ(ages.bucket(stamp(today.addDays(-1461))), 9);
    EXPECT_EQ(ages.ageInDays(stamp(today.addDays(3))), 3);
    EXPECT_EQ(ages.bucket(stamp(today.addDays(3))), 1);
    // Late the same evening and early next morning are both measured from the fixed today.
    EXPECT_EQ(ages.ageInDays(stamp(today, 23)), 0);
    EXPECT_EQ(ages.ageInDays(stamp(today.addDays(1), 0)), 1);
    // A stamp that is no valid date counts as 1 January 1980.
    EXPECT_EQ(ages.ageInDays(0x00050000u | (12u << 11)), int(QDate(1980, 1, 1).daysTo(today)));
}

TEST(HalfHourSlot, FirstHalfHourIsNeverASlot) {
    const auto at = [](int h, int m) { return packDosStamp(2024, 5, 6, h, m, 0); };
    EXPECT_EQ(halfHourSlot(0), -1);
    EXPECT_EQ(halfHourSlot(at(0, 0)), 0);
    EXPECT_EQ(halfHourSlot(at(0, 15)), 0);
    EXPECT_EQ(halfHourSlot(at(0, 29)), 0);
    EXPECT_EQ(halfHourSlot(at(0, 30)), 1);
    EXPECT_EQ(halfHourSlot(at(13, 29)), 26);
    EXPECT_EQ(halfHourSlot(at(23, 59)), 47);
}

TEST(ClusterWaste, FiveThousandByteFile) {
    EXPECT_EQ(clusterWaste(5000, 4096), 3192);
    EXPECT_EQ(clusterWaste(5000, 8192), 3192);
    EXPECT_EQ(clusterWaste(5000, 16384), 11384);
    EXPECT_EQ(clusterWaste(5000, 32768), 27768);
    EXPECT_EQ(clusterWaste(5000, 65536), 60536);
    EXPECT_EQ(clusterWaste(8192, 8192), 0);
    EXPECT_EQ(clusterWaste(8192, 16384), 8192);
    EXPECT_EQ(clusterWaste(0, 4096), 0);
}

TEST(ClusterSize, FixedTableAboveTwoGigabytes) {
    constexpr double k31 = 2147483648.0;
    EXPECT_EQ(clusterSizeFor(k31, 2048), 2048);  // exactly 2^31: the volume's own
    EXPECT_EQ(clusterSizeFor(k31 + 1, 2048), 4096);
    EXPECT_EQ(clusterSizeFor(4 * k31, 2048), 4096);
    EXPECT_EQ(clusterSizeFor(4 * k31 + 1, 2048), 8192);
    EXPECT_EQ(clusterSizeFor(8 * k31, 2048), 8192);  // exactly 2^34
    EXPECT_EQ(clusterSizeFor(8 * k31 + 1, 2048), 16384);
    EXPECT_EQ(clusterSizeFor(16 * k31, 2048), 32768);  // 32 GiB is inclusive
}

TEST(Extensions, FromTheLastDot) {
    EXPECT_EQ(fileExtension("report.doc").toByteArray(), ".doc");
    EXPECT_EQ(fileExtension("archive.tar.gz").toByteArray(), ".gz");
    EXPECT_EQ(fileExtension("readme").toByteArray(), "");
    EXPECT_EQ(extractExtension(QStringLiteral("*.DOC\tWord document")), QStringLiteral(".doc"));
    EXPECT_EQ(extractExtension(QStringLiteral("*.txt")), QStringLiteral(".txt"));
}

TEST(TypeRecords, SortedUpperCaseAndLimitedToFiveCharacters) {
    StatTallies t;
    t.insertType(".doc", 10, false);
    t.insertType(".DOC", 5'000'000'000LL, false);
    t.insertType("", 7, false);
    t.insertType(".html", 1, false);
    t.insertType(".class", 1, false);
    t.insertType(".txt", 0, true);
    ASSERT_EQ(t.types.size(), 4u);
    EXPECT_EQ(t.types[0].line(), QStringLiteral("\t1\t7"));
    EXPECT_EQ(t.types[1].line(), QStringLiteral(".DOC\t2\t5000000010"));
    EXPECT_EQ(t.types[2].line(), QStringLiteral(".HTML\t1\t1"));
    EXPECT_EQ(t.types[3].line(), QStringLiteral(".TXT\t0\t0"));
    EXPECT_EQ(t.findType(".HTML"), 2);
    EXPECT_EQ(t.findType(".CLASS"), -1);
    t.insertType(".txt", 3, true);  // list-only never counts
    EXPECT_EQ(t.types[3].count, 0);
}

}  // namespace
}  // namespace vastel
