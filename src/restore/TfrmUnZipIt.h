#pragma once

#include "restore/ArchiveListing.h"
#include "restore/RestoreSink.h"

#include <QByteArray>
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace vastel {

class AppContext;
class FolderListBox;
class TfrmZipDirectory;

// The restore window ("Unzip Vastel Archive Zip Files"): the archives of a folder, the
// contents of one of them, and the extraction of all its files to their original places or
// below another folder.
class TfrmUnZipIt : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmUnZipIt(AppContext& context, QWidget* parent = nullptr);
    ~TfrmUnZipIt() override;

    // The archive on view (its full path), empty when none.
    const QByteArray& shownArchive() const { return shown_; }
    // The folder the last extraction went to; empty before the first.
    const QByteArray& baseFolder() const { return baseFolder_; }

    QComboBox* DriveComboBox1 = nullptr;
    FolderListBox* DirectoryListBox1 = nullptr;
    QLabel *Label2 = nullptr, *lblZip = nullptr, *lblCount = nullptr, *pnlComment = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QTreeWidget* Outline = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QPushButton *btView = nullptr, *btExtract = nullptr, *btClose = nullptr;
    QTimer* Timer1 = nullptr;

    // Runs the destination dialog; tests replace it to answer it.
    std::function<int(TfrmZipDirectory& dialog)> runDestination;

  public Q_SLOTS:
    void BtExtractEnable();
    void FileListBox1Click();
    void FileListBox1Change();
    void DirectoryListBox1DblClick();
    void FileListBox1DblClick();
    void ExtractFiles1Click();
    void Timer1Timer();
    void OutlineDblClick(QTreeWidgetItem* item);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    friend class UnzipSink;
    void FormShow();
    void fillFileList();
    QByteArray selectedArchive() const;
    bool showArchive(const QByteArray& path);
    void closeArchive();
    void OutlineLoad(const ArchiveListing& listing);
    void OutlineArchiveProgress(int percent);
    std::optional<QByteArray> OutlineNeedPassword(const QByteArray& member);
    void OutlineProcessItemFailure(const MemberFailure& failure);

    AppContext& context_;
    QByteArray shown_;
    QByteArray baseFolder_;
    bool ignoreDuplicates_ = false;  // the user chose to ignore further duplicate warnings
    bool shownOnce_ = false;
};

}  // namespace vastel
