#pragma once

#include <QByteArray>
#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vastel {

class AppContext;

// "File Details": a file's icon, name, type, size and clusters, three dates with a phrase
// relative to today, attributes and version information, with Open, View and Print. The
// caller sets detailsFile and shows it modally; it is filled once, when shown.
class TfrmDetails : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDetails(AppContext& context, QWidget* parent = nullptr);

    QByteArray detailsFile;  // the exact bytes of the path

    QLabel* Image1 = nullptr;
    QFrame* pnlAttributes = nullptr;
    QLabel *lblFileName = nullptr, *lblFileType = nullptr, *lblSizeBytes = nullptr,
           *lblSizeK = nullptr, *lblCreate = nullptr, *lblModify = nullptr, *lblAccess = nullptr,
           *lblAttributes = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton *btLaunch = nullptr, *btView = nullptr, *btPrint = nullptr, *btClose = nullptr;
    QStringList lb;  // the lines of the printed report

    // "Cluster size: " C "  Clusters used : " N for the drive of detailsFile.
    QString wastedClusterSpace(qint64 size) const;

  public Q_SLOTS:
    void btLaunchClick();
    void btViewClick();
    void btPrintClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    AppContext& context_;
    bool shown_ = false;
};

// The cluster text for a size and a cluster size ("?" figures when the size is unknown).
QString clusterUsageText(qint64 size, qint64 clusterBytes);
// " ReadOnly", " Hidden", " System", " VolumeID", " Directory", " Archive" for the set bits.
QString attributeWords(quint32 attributes);
// A packed stamp's date, two blanks and its distance from today; "???" for no date.
QString stampDateText(quint32 stamp);

}  // namespace vastel
