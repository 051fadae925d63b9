#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vastel {

class AppContext;
class LauncherBackground;

// The launcher: the product title, ten feature buttons, About, Help and Exit. It loads the
// context's Safe Harbor lists when shown and gates the finders on the folder list.
class TfrmMain : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmMain(AppContext& context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The Safe Harbor gate: passes when a folder list exists, else says so and fails.
    bool checkExceptionList();
    void GetSearchPath();
    void ReadSafeHarborExtensions();
    void normalizeExceptionList();
    bool isInSafeHarbor(const QByteArray& path, bool isFile, int* reason = nullptr);
    // Background by colour depth: below 15 bits the gradient fills the window.
    void chooseBackground(int bitsPerPixel, int planes);

    QString helpFile;

    QLabel* lblTitle = nullptr;
    QPushButton *btDuplicate = nullptr, *btFileHog = nullptr, *btFiles = nullptr,
                *btDirHogs = nullptr, *btClean = nullptr;
    QPushButton *btStatistic = nullptr, *btBrowse = nullptr, *btClearCache = nullptr,
                *btZip = nullptr, *btBuild = nullptr;
    QPushButton *btReach = nullptr, *btHelp = nullptr, *btClose = nullptr;
    QLabel *lblMaker = nullptr, *lblWeb = nullptr;
    LauncherBackground *EsTile1 = nullptr, *EsGradient1 = nullptr;

  public Q_SLOTS:
    void btDuplicateClick();
    void btFileHogClick();
    void btFilesClick();
    void btDirHogsClick();
    void btCleanClick();
    void btStatisticClick();
    void btBrowseClick();
    void btClearCacheClick();
    void btZipClick();
    void btBuildClick();
    void btHelpClick();
    void btReachClick();
    void btCloseClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormShow();
    AppContext& context_;
    QPushButton* featureButton(const char* name, const QString& caption, const QString& hint,
                               int icon);
    void layoutBackgrounds();
    bool gradientChosen_ = false;
    bool centred_ = false;
};

}  // namespace vastel
