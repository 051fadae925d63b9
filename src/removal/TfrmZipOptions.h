#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vastel {

// The archive options: the folder that archives go to and the comment they carry. Both are
// stored whenever the dialog closes, by OK and Cancel alike.
class TfrmZipOptions : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmZipOptions(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;  // the folder, read-only
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit* Edit2 = nullptr;  // the comment, at most 80 characters
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

    // The comment as the dialog closed.
    const QString& comment() const { return comment_; }
    // The folder's exact bytes (Edit1 shows them as text).
    const QByteArray& folder() const { return folder_; }

    void readSettings();
    void writeSettings();
    void SpeedButton1Click();
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QByteArray folder_;
    QString comment_;
};

// Shows the options dialog modally: the comment after OK, nothing after Cancel.
std::optional<QString> runZipOptions(QWidget* parent);

}  // namespace vastel
