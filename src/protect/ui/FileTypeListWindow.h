#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace vastel {

// A window that edits one stored list of file types: read when shown, written whenever it
// closes, with Add, Delete, Clear all and Defaults.
class FileTypeListWindow : public QDialog {
    Q_OBJECT
  public:
    struct Texts {
        const char* objectName;
        QString caption;
        QString heading;
        QStringList explanations;
    };

    QLabel* lblHeading = nullptr;
    QListWidget* PickList1 = nullptr;
    QPushButton *btAdd = nullptr, *btDelete = nullptr, *btClear = nullptr, *btDefaults = nullptr,
                *btClose = nullptr;

    void ReadInFromDisk();
    void WriteOutToDisk();
    QStringList rows() const;  // in display order
    // Adds a row in its sorted place unless an equal row (ignoring case) is there.
    void addRow(const QString& row);

  public Q_SLOTS:
    void btAddClick();
    void btDeleteClick();
    void btClearClick();
    void btDefaultsClick();

  protected:
    FileTypeListWindow(QWidget* parent, const Texts& texts, QString section, QStringList firstUse,
                       QStringList defaults);
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

  private:
    QString section_;
    QStringList firstUse_, defaults_;
};

}  // namespace vastel
