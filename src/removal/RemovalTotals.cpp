#include "removal/RemovalTotals.h"

#include "core/DateTexts.h"
#include "core/SettingsStore.h"

#include <QDate>
#include <initializer_list>
#include <utility>

namespace vastel {

namespace {

const QString kSection = QStringLiteral("Vastel");

// Adds each increment to its key (a key at -1 or 0 takes the increment), and stamps the date
// key with today when it holds nothing yet.
void addTotals(std::initializer_list<std::pair<const char*, qint64>> increments,
               const char* dateKey) {
    SettingsStore store;
    for (const auto& [key, increment] : increments) {
        const QString name = QLatin1String(key);
        const qint64 stored = store.readInt64(kSection, name, -1);
        store.writeInt64(kSection, name, stored > 0 ? stored + increment : increment);
    }
    const QString date = QLatin1String(dateKey);
    if (store.readInt64(kSection, date, -1) == -1)
        store.writeInt64(kSection, date, dayNumber(QDate::currentDate()));
}

}  // namespace

void addRemovalTotals(qint64 deletedFiles, qint64 deletedBytes, qint64 recycledFiles,
                      qint64 recycledBytes) {
    addTotals({{"Ndelete", deletedFiles},
               {"SizeDelete", deletedBytes},
               {"NWaste", recycledFiles},
               {"SizeWaste", recycledBytes}},
              "DelDate");
}

void addArchiveTotals(qint64 archivedFiles, qint64 archivedBytes) {
    addTotals({{"NZip", archivedFiles}, {"SizeZip", archivedBytes}}, "ZipDate");
}

}  // namespace vastel
