#include "protect/BuildDate.h"

#include "core/DateTexts.h"
#include "core/SettingsStore.h"

#include <QLocale>

namespace vastel {

namespace {
const QString kSection = QStringLiteral("Folders");
const QString kKey = QStringLiteral("When");
const QString kNotRecorded = QStringLiteral("Not recorded");
}  // namespace

QString longDateText(const QDate& date) { return QLocale().toString(date, QLocale::LongFormat); }

QString buildDateText(const QDateTime& when) {
    return longDateText(when.date()) + QLatin1Char(' ') +
           QLocale().toString(when.time(), longTimeFormat());
}

QString readBuildDate() {
    const SettingsStore store;
    return store.readString(kSection, kKey, kNotRecorded);
}

QString recordBuildDate(bool listHasEntries, const QDateTime& now) {
    const QString text = listHasEntries ? buildDateText(now) : kNotRecorded;
    SettingsStore store;
    store.writeString(kSection, kKey, text);
    return text;
}

}  // namespace vastel
