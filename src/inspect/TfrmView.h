#pragma once

#include <QByteArray>
#include <QDialog>

class QAction;
class QHeaderView;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QStandardItemModel;

namespace vastel {

class AppContext;
class FileViewer;
class TFindDlg;
class TextDevice;

// "View file": a file as text or hexadecimal dump, with find, go to line, printing, the
// clipboard, font and tab options, another file by the open dialog or by dropping it, and a
// second viewer of the file's readable strings. The caller sets viewFile and shows it modally.
class TfrmView : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmView(AppContext& context, QWidget* parent = nullptr);
    ~TfrmView() override;

    QByteArray viewFile;  // the exact bytes of the path

    FileViewer* Viewer1 = nullptr;
    QHeaderView* Header1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu *File1 = nullptr, *Clipboard1 = nullptr, *Search1 = nullptr, *Options1 = nullptr;
    QAction *Open1 = nullptr, *Print1 = nullptr, *PrintSetup1 = nullptr, *Exit1 = nullptr;
    QAction *Copy1 = nullptr, *SelectAll1 = nullptr;
    QAction *Find1 = nullptr, *FindNext1 = nullptr, *GotoLine1 = nullptr;
    QAction *HexMode1 = nullptr, *TabExpansion1 = nullptr, *TabSize1 = nullptr, *Font1 = nullptr;
    QPushButton *BitBtn1 = nullptr, *btPrint = nullptr, *btFont = nullptr, *btStrings = nullptr,
                *btClose = nullptr;
    QRadioButton *rbAscii = nullptr, *rbHex = nullptr;

    // The text of a section of the status header.
    QString headerText(int section) const;
    // Shows a file dropped on the window; the caption stays.
    void dropFile(const QByteArray& path);
    // Prints every line, or the selection, on an unopened device in the viewer's font; a
    // failure ends the printing with the error message.
    bool printTo(TextDevice& device, bool selection);

  public Q_SLOTS:
    void File1Click();
    void Open1Click();
    void Print1Click();
    void PrintSetup1Click();
    void Exit1Click();
    void btCloseClick();
    void Clipboard1Click();
    void Copy1Click();
    void SelectAll1Click();
    void Search1Click();
    void Find1Click();
    void FindNext1Click();
    void GotoLine1Click();
    void HexMode1Click();
    void rbAsciiClick();
    void rbHexClick();
    void TabExpansion1Click();
    void TabSize1Click();
    void Font1Click();
    void btStringsClick();
    void Viewer1ShowStatus();

  protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenu();
    void buildControls();
    void FormShow();
    void showFile(const QByteArray& path);
    void updateSearchMenu();
    void updateClipboardMenu();
    bool reportSearch(bool found, const QString& text);
    TFindDlg& findDialog();

    AppContext& context_;

    QStandardItemModel* headerSections_ = nullptr;
    bool shown_ = false;
};

}  // namespace vastel
