#pragma once

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace vastel {

class FolderListBox;

// The destination dialog ("Destination folder"): where an archive's files are restored. It
// opens at the archive's original root and asks before any other folder is taken.
class TfrmZipDirectory : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmZipDirectory(QWidget* parent = nullptr);

    // The archive's full path (set before showing).
    void setArchive(const QByteArray& archivePath);
    // Where the folder list starts before the dialog's showing moves it to the original root.
    void setStartFolder(const QByteArray& folder);
    // The folder chosen (after OK).
    QByteArray chosenFolder() const;

    // The folder the archive's member paths are relative to: "/" for an archive of drive "R";
    // for a name without "Drive-", the root of the current drive (and every choice is asked).
    static QByteArray originalRoot(const QByteArray& archivePath, bool* known = nullptr);

    QComboBox* DriveComboBox1 = nullptr;
    FolderListBox* DLB = nullptr;
    QLabel *lblZip = nullptr, *DirLabel = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr;

    // Opens the folder-name prompt; tests replace it. Returns the name, or nothing.
    std::function<std::optional<QString>(QWidget* parent)> askFolderName;

  public Q_SLOTS:
    void Button1Click();
    void Button3Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

  private:
    void FormShow();
    void FormClose();
    QByteArray archive_;
    QByteArray savedCurrent_;
    QByteArray root_;
    bool rootKnown_ = false;
};

}  // namespace vastel
