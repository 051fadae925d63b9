#include "finders/TfrmCache.h"

#include "core/CountedList.h"
#include "core/JobSink.h"
#include "core/MessageBoxes.h"
#include "core/SettingsStore.h"
#include "core/StopToken.h"
#include "finders/CacheClearing.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "widgets/AppContext.h"
#include "widgets/BusyCursor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vastel {

namespace {

const QString kSection = QStringLiteral("CacheFiles");

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

QString busyBrowsersText(const QStringList& browsers) {
    QString names = browsers.value(0);
    for (qsizetype i = 1; i < browsers.size(); ++i)
        names += (i + 1 == browsers.size() ? QStringLiteral(" and ") : QStringLiteral(", ")) +
                 browsers[i];
    if (browsers.size() == 1)
        return QStringLiteral("Close ") + names +
               QStringLiteral(" first.  Its cache is in use, so its files were left alone.");
    return QStringLiteral("Close ") + names +
           QStringLiteral(" first.  Their caches are in use, so their files were left alone.");
}

TfrmCache::TfrmCache(AppContext& context, QWidget* parent)
    : QDialog(parent), homes(CacheHomes::fromEnvironment()), context_(context) {
    setObjectName(QStringLiteral("frmCache"));
    setWindowTitle(QStringLiteral("Internet Browser Cache Folders"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* heading = new QLabel(QStringLiteral("Internet cache folders:"), this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setTextElideMode(Qt::ElideMiddle);
    heading->setBuddy(ListBox1);

    btInit = button(this, "btInit", QStringLiteral("&Initialize"));
    btAdd = button(this, "btAdd", QStringLiteral("&Add a folder"));
    btDel = button(this, "btDel", QStringLiteral("&Delete a folder"));
    auto* listButtons = new QHBoxLayout;
    listButtons->setSpacing(6);
    listButtons->addWidget(btInit);
    listButtons->addStretch(1);
    listButtons->addWidget(btAdd);
    listButtons->addWidget(btDel);

    nDays = new QSpinBox(this);
    nDays->setObjectName(QStringLiteral("nDays"));
    nDays->setRange(0, 100);
    auto* age = new QHBoxLayout;
    age->setSpacing(6);
    auto* before =
        new QLabel(QStringLiteral("Clear all files that have not been accessed in "), this);
    before->setBuddy(nDays);
    age->addWidget(before);
    age->addWidget(nDays);
    age->addWidget(new QLabel(QStringLiteral("days"), this));
    age->addStretch(1);

    btClear = button(this, "btClear", QStringLiteral("&Clear internet cache"));
    btClear->setDefault(true);
    btClose = button(this, "btClose", QStringLiteral("Close"));
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    bottom->addStretch(1);
    bottom->addWidget(btClear);
    bottom->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(heading);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(listButtons);
    layout->addSpacing(6);
    layout->addLayout(age);
    layout->addLayout(bottom);

    connect(btInit, &QPushButton::clicked, this, &TfrmCache::btInitClick);
    connect(btAdd, &QPushButton::clicked, this, &TfrmCache::btAddClick);
    connect(btDel, &QPushButton::clicked, this, &TfrmCache::btDelClick);
    connect(btClear, &QPushButton::clicked, this, &TfrmCache::btClearClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    resize(620, 380);
}

void TfrmCache::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmCache::FormShow() {
    ListBox1->clear();
    folders_.clear();
    ReadInFromDisk();
    nDays->setValue(0);
    btInit->setVisible(folders_.isEmpty());
}

QByteArrayList TfrmCache::defaultFolders() const {
    QByteArrayList list;
    for (const CacheFolder& f : findCacheFolders(homes)) list << f.folder;
    return list;
}

void TfrmCache::ReadInFromDisk() {
    const SettingsStore store;
    // Only a list never stored asks for the browsers' folders.
    const QByteArrayList list = store.hasValue(kSection, QStringLiteral("Number"))
                                    ? readCountedBytes(store, kSection, {})
                                    : defaultFolders();
    for (const QByteArray& folder : list) addFolder(folder);
}

void TfrmCache::WriteOutToDisk() {
    SettingsStore store;
    writeCountedBytes(store, kSection, folders_);
}

void TfrmCache::done(int result) {
    WriteOutToDisk();
    QDialog::done(result);
}

void TfrmCache::addFolder(const QByteArray& folder) {
    if (folder.isEmpty()) return;
    folders_ << folder;
    ListBox1->addItem(displayPath(folder));
}

void TfrmCache::btInitClick() {
    for (const QByteArray& folder : defaultFolders()) addFolder(folder);
    btInit->hide();
    if (folders_.isEmpty()) {
        btInit->show();
        infoBox(QStringLiteral(
            "Could not find any internet cache folders on your machine.  You may add them in "
            "manually if you know where they are located.  Typically they will exist under your "
            "browser folder with the folder name of \"cache\"."));
    }
}

void TfrmCache::btAddClick() {
    const std::optional<QString> chosen = context_.dialogs().pickFolder(
        QStringLiteral("Select an internet Cache folder"), QStringLiteral("/"));
    if (!chosen || chosen->isEmpty()) return;
    QByteArray folder = nativePath(*chosen);
    if (!folder.endsWith('/')) folder += '/';
    addFolder(folder);
    ListBox1->setCurrentRow(ListBox1->count() - 1);
}

void TfrmCache::btDelClick() {
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= folders_.size()) {
        errorBox(QStringLiteral("Select a folder from the list above"));
        return;
    }
    if (!confirmed(context_.dialogs().question(
            QStringLiteral("Really delete ") + displayPath(folders_[row]), Buttons::OkCancel,
            BoxIcon::Question, Beep::None)))
        return;
    // Only the entry goes; the folder on disk stays.
    folders_.removeAt(row);
    delete ListBox1->takeItem(row);
    if (folders_.isEmpty()) btInit->show();
}

void TfrmCache::btClearClick() {
    lb1.clear();
    total = 0;
    CacheClearOptions options;
    options.folders = folders_;
    options.nDays = nDays->value();
    options.homes = homes;
    options.procRoot = procRoot;
    CacheClearResult found;
    {
        BusyCursor busy;
        StopToken stop;
        JobSink sink;
        found = findCacheFiles(options, stop, sink);
    }
    lb1 = found.files;
    total = found.total;
    if (!found.busyBrowsers.isEmpty()) infoBox(busyBrowsersText(found.busyBrowsers));
    if (lb1.isEmpty()) {
        errorBox(QStringLiteral("No files found to clear"));
        return;
    }
    context_.runReview(this, lb1, QStringLiteral("InternetCache"), total);
    lb1.clear();
    total = 0;
}

}  // namespace vastel
