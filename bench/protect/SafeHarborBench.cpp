// Time per call of the Safe Harbor membership test with 20,000 folder entries.
#include "protect/FolderEntry.h"
#include "protect/SafeHarbor.h"

#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>

using namespace vastel;

namespace {

// Entries shaped like a real build: package folders, some tree entries, a few long paths.
QByteArrayList makeEntries(int count, std::mt19937& rng) {
    static const char* tops[] = {"/usr/share/doc/",    "/usr/lib/x86_64-linux-gnu/",
                                 "/usr/share/locale/", "/etc/",
                                 "/opt/vendor/",       "/usr/share/icons/hicolor/"};
    std::uniform_int_distribution<int> top(0, 5), depth(0, 3), tree(0, 19);
    QByteArrayList entries;
    for (int i = 0; i < count; ++i) {
        QByteArray e = tops[top(rng)];
        e += "package-" + QByteArray::number(i) + "/";
        for (int d = depth(rng); d > 0; --d) e += "sub" + QByteArray::number(d) + "/";
        if (tree(rng) == 0) e += kTreeMarker;
        entries.append(e);
    }
    return entries;
}

// File paths to test: half below listed folders, half elsewhere; every one in its own folder.
QByteArrayList makeProbes(const QByteArrayList& entries, int count, std::mt19937& rng) {
    std::uniform_int_distribution<int> pick(0, int(entries.size()) - 1);
    QByteArrayList probes;
    for (int i = 0; i < count; ++i) {
        QByteArray folder = entryStem(entries[pick(rng)]);
        if (i % 2) folder = "/home/nobody/projects/" + QByteArray::number(i) + folder;
        probes.append(folder + "file" + QByteArray::number(i) + ".txt");
    }
    return probes;
}

// The best of five runs: on a shared machine the others are slower for reasons of their own.
template <typename F>
double nanosPerCall(int calls, F&& body) {
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        body();
        best = std::min(best, timer.nsecsElapsed());
    }
    return double(best) / calls;
}

}  // namespace

int main() {
    std::mt19937 rng(7);
    const int kEntries = 20000, kProbes = 200000;
    SafeHarbor h;
    const QByteArrayList entries = makeEntries(kEntries, rng);
    QByteArrayList merged = SafeHarbor::normalizeExceptionList(entries);
    mergeSubfolderEntries(merged);
    h.lb1.assign(merged);
    h.lbSearchPath.assign(
        {"/USR/LOCAL/BIN/", "/USR/BIN/", "/BIN/", "/USR/LOCAL/GAMES/", "/USR/GAMES/"});
    h.lbWindows.assign({"/USR/LIB/", "/ETC/"});
    const QByteArrayList probes = makeProbes(entries, kProbes, rng);
    QByteArrayList folders;
    for (const QByteArray& p : probes) folders.append(SafeHarbor::testedFolder(p, true));

    int hits = 0;
    const double lookup = nanosPerCall(kProbes, [&] {
        for (const QByteArray& f : folders)
            hits += findInFolderList(f, h.lbWindows) >= 0 ||
                    findInFolderList(f, h.lbSearchPath) >= 0 || findInFolderList(f, h.lb1) >= 0;
    });
    const double normalise = nanosPerCall(kProbes, [&] {
        for (const QByteArray& p : probes) hits += SafeHarbor::testedFolder(p, true).size() & 1;
    });
    const double full = nanosPerCall(kProbes, [&] {
        for (const QByteArray& p : probes) hits += h.isInSafeHarbor(p, true);
    });
    // The usual order of a review: many files of one folder in a row, with protected types.
    h.lbExt = {QStringLiteral("*.drv"), QStringLiteral("*.sys")};
    const double sameFolder = nanosPerCall(kProbes, [&] {
        for (int i = 0; i < kProbes; ++i)
            hits += h.isInSafeHarbor(probes[(i / 50) * 50 % kProbes], true);
    });

    // The owner is read from the file unless the caller has it: set beside a bare lstat, on
    // real files of one folder (nothing else protects them).
    h.lbExt.clear();
    const double ownerKnown = nanosPerCall(kProbes, [&] {
        for (const QByteArray& p : probes) hits += h.isInSafeHarbor(p, true, nullptr, 0u);
    });
    QTemporaryDir dir;
    QByteArrayList files;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray f = QFile::encodeName(dir.path()) + "/f" + QByteArray::number(i);
        QFile(QFile::decodeName(f)).open(QIODevice::WriteOnly);
        files.append(f);
    }
    const int kRounds = 200, kFileCalls = kRounds * 1000;
    const double bareLstat = nanosPerCall(kFileCalls, [&] {
        struct stat st;
        for (int r = 0; r < kRounds; ++r)
            for (const QByteArray& f : files) hits += ::lstat(f.constData(), &st) == 0;
    });
    const double realFiles = nanosPerCall(kFileCalls, [&] {
        for (int r = 0; r < kRounds; ++r)
            for (const QByteArray& f : files) hits += h.isInSafeHarbor(f, true);
    });
    // With the operating system's trees among the system folders and a home among them.
    QByteArrayList windows = {"/USR/LIB/", "/ETC/"};
    for (const char* top : {"/BIN/", "/BOOT/", "/DEV/", "/ETC/", "/LIB/", "/OPT/", "/PROC/",
                            "/ROOT/", "/RUN/", "/SBIN/", "/SRV/", "/SYS/", "/USR/", "/VAR/"})
        windows.append(QByteArray(top) + kTreeMarker);
    h.lbWindows.assign(windows);
    const double withTrees = nanosPerCall(kProbes, [&] {
        for (const QByteArray& p : probes) hits += h.isInSafeHarbor(p, true);
    });

    std::printf("entries in lb1: %lld (from %d)\n", (long long)h.lb1.count(), kEntries);
    std::printf("three binary searches, folder already normalised: %8.1f ns/call\n", lookup);
    std::printf("normalisation of the path alone:                  %8.1f ns/call\n", normalise);
    std::printf("isInSafeHarbor, a new folder every call:          %8.1f ns/call\n", full);
    std::printf("isInSafeHarbor, 50 files per folder, 2 types:     %8.1f ns/call\n", sameFolder);
    std::printf("isInSafeHarbor, owner given by the caller:        %8.1f ns/call\n", ownerKnown);
    std::printf("isInSafeHarbor, system trees among the folders:   %8.1f ns/call\n", withTrees);
    std::printf("lstat of a real file alone:                       %8.1f ns/call\n", bareLstat);
    std::printf("isInSafeHarbor on real files, owner read:         %8.1f ns/call\n", realFiles);
    std::printf("(checksum %d)\n", hits);
    return 0;
}
