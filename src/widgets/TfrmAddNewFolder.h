#pragma once

#include <QByteArrayList>
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace vastel {

// The folder list dialog: the extra folders that the drive lists offer beside the drives.
// "Close" stores the list; any other way out keeps the stored list unchanged.
class TfrmAddNewFolder : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmAddNewFolder(QWidget* parent = nullptr);

    // The folders shown, in the list's order (exact bytes).
    QByteArrayList folders() const;
    // Puts a folder into its sorted place unless the list holds it already (ignoring case).
    bool addFolder(const QByteArray& folder);

    QLabel* lblHeading = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton *btAdd = nullptr, *btDel = nullptr, *Button1 = nullptr;

  public Q_SLOTS:
    void btAddClick();
    void btDelClick();
    void Button1Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
};

}  // namespace vastel
