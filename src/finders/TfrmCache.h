#pragma once

#include "finders/CacheSources.h"

#include <QByteArrayList>
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace vastel {

class AppContext;

// "Internet Browser Cache Folders": the list of the folders where browsers keep their caches
// (stored as "CacheFiles"), and clearing the files in them that have not been accessed for
// nDays days through the deletion review. A folder whose browser is running is left alone.
class TfrmCache : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmCache(AppContext& context, QWidget* parent = nullptr);

    QListWidget* ListBox1 = nullptr;
    QPushButton *btInit = nullptr, *btAdd = nullptr, *btDel = nullptr, *btClear = nullptr,
                *btClose = nullptr;
    QSpinBox* nDays = nullptr;

    // Where the browsers' caches are looked for and the process table; from the environment.
    CacheHomes homes;
    QByteArray procRoot = "/proc";

    // The found files of the last clearing and their bytes.
    QByteArrayList lb1;
    qint64 total = 0;

    // The folders of the list, exact bytes, in list order.
    const QByteArrayList& folders() const { return folders_; }

  public Q_SLOTS:
    void btInitClick();
    void btAddClick();
    void btDelClick();
    void btClearClick();
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    void ReadInFromDisk();
    void WriteOutToDisk();
    void addFolder(const QByteArray& folder);
    QByteArrayList defaultFolders() const;

    AppContext& context_;
    QByteArrayList folders_;
    bool shown_ = false;
};

// "Close Firefox first. Its cache is in use, so its files were left alone." (one browser or
// several)
QString busyBrowsersText(const QStringList& browsers);

}  // namespace vastel
