#include "stats/RemovalTotalsView.h"

#include "core/SettingsStore.h"

namespace vastel {

namespace {
const QString kSection = QStringLiteral("Vastel");
}

RemovalTotalsView RemovalTotalsView::read() {
    const SettingsStore store;
    const auto get = [&](const char* key) {
        return store.readInt64(kSection, QLatin1String(key), -1);
    };
    RemovalTotalsView v;
    v.nDelete = get("Ndelete");
    v.sizeDelete = get("SizeDelete");
    v.nWaste = get("NWaste");
    v.sizeWaste = get("SizeWaste");
    v.delDate = get("DelDate");
    v.nZip = get("NZip");
    v.sizeZip = get("SizeZip");
    v.zipDate = get("ZipDate");
    return v;
}

void RemovalTotalsView::reset() {
    SettingsStore store;
    for (const char* key :
         {"Ndelete", "SizeDelete", "NZip", "ZipDate", "SizeZip", "NWaste", "SizeWaste", "DelDate"})
        store.writeInt64(kSection, QLatin1String(key), -1);
}

}  // namespace vastel
