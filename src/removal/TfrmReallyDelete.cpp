#include "removal/TfrmReallyDelete.h"

#include "removal/FreedSpace.h"

#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "protect/SafeHarbor.h"
#include "removal/FreedSpace.h"
#include "removal/TfrmZipOptions.h"
#include "widgets/AppContext.h"
#include "widgets/BusyCursor.h"
#include "widgets/TfrmStandBy.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace vastel {

namespace {

QLabel* textLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    // Enter in a list must never start a removal.
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TfrmReallyDelete::TfrmReallyDelete(AppContext& context, QWidget* parent)
    : QDialog(parent), safeHarbor(context.safeHarborCheck()), context_(context) {
    setObjectName(QStringLiteral("frmReallyDelete"));
    setWindowTitle(QStringLiteral("Clean up the following files"));
    zipOptions = [this] { return runZipOptions(this); };

    auto* lblSavingsCaption = new QLabel(QStringLiteral("Potential savings of "), this);
    lblSavings = new QLabel(this);
    lblSavings->setObjectName(QStringLiteral("lblSavings"));
    QFont strong = lblSavings->font();
    strong.setBold(true);
    lblSavings->setFont(strong);
    // Hard links: what the Deletion panel really gives back, beside the sum of its sizes.
    lblFreed = new QLabel(this);
    lblFreed->setObjectName(QStringLiteral("lblFreed"));
    lblFreed->setToolTip(
        QStringLiteral("A file comes free only when all its hard links are removed; a file "
                       "with several names on the panel counts once"));
    lblDelete = new QLabel(this);
    lblDelete->setObjectName(QStringLiteral("lblDelete"));

    buildPages();

    btDelete = button("btDelete", QStringLiteral("&Delete all files"), this);
    btDelete->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    btRecycle = button("btRecycle", QStringLiteral("&Send to recycle bin"), this);
    btRecycle->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btZip = button("btZip", QStringLiteral("&Archive files into a zip file"), this);
    btZip->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    btClose = button("btClose", QStringLiteral("&Close"), this);
    btClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    pnlButtons = new QWidget(this);
    pnlButtons->setObjectName(QStringLiteral("pnlButtons"));
    auto* buttonRow = new QHBoxLayout(pnlButtons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->addWidget(btDelete);
    buttonRow->addWidget(btRecycle);
    buttonRow->addWidget(btZip);
    buttonRow->addStretch();

    pnlProgress = new QWidget(this);
    pnlProgress->setObjectName(QStringLiteral("pnlProgress"));
    lblName = new QLabel(pnlProgress);
    lblName->setObjectName(QStringLiteral("lblName"));
    lblName->setMinimumWidth(100);
    lblName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar = new QProgressBar(pnlProgress);
    bar->setObjectName(QStringLiteral("bar"));
    bar->setTextVisible(false);
    Gauge1 = new QProgressBar(pnlProgress);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setMaximumWidth(120);
    auto* progressRows = new QVBoxLayout(pnlProgress);
    progressRows->setContentsMargins(0, 0, 0, 0);
    progressRows->setSpacing(4);
    progressRows->addWidget(lblName);
    auto* bars = new QHBoxLayout;
    bars->addWidget(bar, 1);
    bars->addWidget(Gauge1);
    progressRows->addLayout(bars);
    pnlProgress->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);

    auto* top = new QHBoxLayout;
    top->addWidget(lblSavingsCaption);
    top->addWidget(lblSavings);
    top->addSpacing(16);
    top->addWidget(lblFreed);
    top->addStretch();
    top->addWidget(lblDelete);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pnlButtons, 1);
    bottom->addWidget(pnlProgress, 1);
    bottom->addSpacing(12);
    bottom->addWidget(btClose, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);
    resize(780, 560);

    connect(Timer1, &QTimer::timeout, this, &TfrmReallyDelete::Timer1Timer);
    connect(lb1, &QListWidget::itemSelectionChanged, this, &TfrmReallyDelete::lb1Click);
    connect(lb2, &QListWidget::itemSelectionChanged, this, &TfrmReallyDelete::lb2Click);
    connect(btToAgainst, &QPushButton::clicked, this, &TfrmReallyDelete::btToAgainstClick);
    connect(btMoveLeft, &QPushButton::clicked, this, &TfrmReallyDelete::btMoveLeftClick);
    connect(btReason, &QPushButton::clicked, this, &TfrmReallyDelete::btReasonClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmReallyDelete::btDeleteAllClick);
    connect(btRecycle, &QPushButton::clicked, this, &TfrmReallyDelete::btRecycleClick);
    connect(btZip, &QPushButton::clicked, this, &TfrmReallyDelete::btZipClick);
    connect(btClose, &QPushButton::clicked, this, &TfrmReallyDelete::btCloseClick);
}

void TfrmReallyDelete::buildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    tsDelete = new QWidget;
    tsDelete->setObjectName(QStringLiteral("tsDelete"));
    lblLeft = new QLabel(tsDelete);
    lblLeft->setObjectName(QStringLiteral("lblLeft"));
    QFont heading = lblLeft->font();
    heading.setBold(true);
    lblLeft->setFont(heading);
    lb1 = new PathListBox(tsDelete);
    lb1->setObjectName(QStringLiteral("lb1"));
    btToAgainst = button("btToAgainst", QStringLiteral("Move files OFF to safe harbor"), tsDelete);
    btToAgainst->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    btToAgainst->setEnabled(false);
    auto* deletePage = new QVBoxLayout(tsDelete);
    deletePage->addWidget(textLabel(
        QStringLiteral("These files are not in the registry or in the windows search path "
                       "therefore it is safer to delete these files.  However, these files may "
                       "still belong to working applications therefore they may be needed for "
                       "proper operation of other applications."),
        tsDelete));
    deletePage->addWidget(lblLeft);
    deletePage->addWidget(lb1, 1);
    auto* deleteRow = new QHBoxLayout;
    deleteRow->addWidget(
        textLabel(QStringLiteral("To move these files off of the list of files to be deleted drag "
                                 "the mouse cursor over the file list to select the desired files "
                                 "then click on the Move button."),
                  tsDelete),
        1);
    deleteRow->addWidget(btToAgainst, 0, Qt::AlignTop);
    deletePage->addLayout(deleteRow);

    tsSafeHarbor = new QWidget;
    tsSafeHarbor->setObjectName(QStringLiteral("tsSafeHarbor"));
    lblRight = new QLabel(tsSafeHarbor);
    lblRight->setObjectName(QStringLiteral("lblRight"));
    lblRight->setFont(heading);
    lb2 = new PathListBox(tsSafeHarbor);
    lb2->setObjectName(QStringLiteral("lb2"));
    btMoveLeft =
        button("btMoveLeft", QStringLiteral("Move files to the deletion panel"), tsSafeHarbor);
    btMoveLeft->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    btMoveLeft->setEnabled(false);
    btReason = button("btReason", QStringLiteral("Reason that file is on this list"), tsSafeHarbor);
    btReason->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    btReason->setEnabled(false);
    auto* safePage = new QVBoxLayout(tsSafeHarbor);
    safePage->addWidget(textLabel(
        QStringLiteral("It is not recommended that you delete these files without uninstalling "
                       "their associated applications.  They are either located in the windows "
                       "system directories or are in the system registry.  These files will not "
                       "be deleted."),
        tsSafeHarbor));
    safePage->addWidget(lblRight);
    safePage->addWidget(lb2, 1);
    auto* safeRow = new QHBoxLayout;
    safeRow->addWidget(
        textLabel(QStringLiteral("To delete these files move them to the deletion panel.  You may "
                                 "select multiple files by dragging the mouse over the list of "
                                 "files above then clicking on the Move files button."),
                  tsSafeHarbor),
        1);
    auto* safeButtons = new QVBoxLayout;
    safeButtons->addWidget(btMoveLeft);
    safeButtons->addWidget(btReason);
    safeRow->addLayout(safeButtons);
    safePage->addLayout(safeRow);

    PageControl1->addTab(tsDelete, QStringLiteral("Files to be deleted"));
    PageControl1->addTab(tsSafeHarbor, QStringLiteral("Safe Harbor - Do not delete these files"));
}

void TfrmReallyDelete::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

qint64 TfrmReallyDelete::savingsBytes() const {
    // A whole number of bytes; anything that is no such number counts as nothing.
    if (!std::isfinite(potentialSavings) || potentialSavings <= 0) return 0;
    if (potentialSavings >= 9.2e18) return qint64(9.2e18);
    return qint64(potentialSavings);
}

void TfrmReallyDelete::FormShow() {
    abortRequested = false;
    {
        BusyCursor busy;
        lblSavings->setText(thousandsText(savingsBytes()) + QStringLiteral(" bytes"));
        UpdateHeaders();
        lblName->clear();
        MoveFiles();
    }
    if (lb1->count() == 0) Timer1->start();
    PageControl1->setCurrentWidget(tsDelete);
}

void TfrmReallyDelete::MoveFiles() {
    const QList<QByteArray> all = lb1->paths();
    // Events run during the split; nothing may be removed or moved before it is complete.
    pnlButtons->setEnabled(false);
    PageControl1->setEnabled(false);
    // The stand-by bar counts the files tested, one step each.
    TfrmStandBy& standBy = context_.standBy();
    standBy.begin(int(all.size()));
    // Tested from the last path to the first; the panels are rebuilt once at the end, which
    // long lists need and which shows the same result.
    std::vector<char> protectedPath(size_t(all.size()), 0);
    for (qsizetype i = all.size() - 1; i >= 0; --i) {
        standBy.step(int(all.size() - 1 - i));
        protectedPath[size_t(i)] = SafeHarborCheck::isProtected(safeHarbor.reason(all[i], true));
    }
    standBy.finish();
    QList<QByteArray> keep, moved;
    for (qsizetype i = 0; i < all.size(); ++i)
        (protectedPath[size_t(i)] ? moved : keep).append(all[i]);
    if (!moved.isEmpty()) {
        lb1->setPaths(keep);
        lb2->addPaths(moved);
    }
    pnlButtons->setEnabled(true);
    PageControl1->setEnabled(true);
    updateLeftRight();
}

void TfrmReallyDelete::UpdateHeaders() {
    lblDelete->setText(
        QStringLiteral("Delete - %1, Do NOT delete - %2").arg(lb1->count()).arg(lb2->count()));
    const FreedSpace freed = freedByRemoving(lb1->paths());
    QString text = QStringLiteral("Really freed: ") + thousandsText(freed.bytes) +
                   QStringLiteral(" bytes");
    if (freed.keptFiles > 0)
        text += QStringLiteral(" (%1 with other links kept)").arg(thousandsText(freed.keptFiles));
    lblFreed->setText(text);
}

void TfrmReallyDelete::updateLeftRight() {
    lblLeft->setText(QStringLiteral("Deletion Panel - files to be deleted: %1").arg(lb1->count()));
    lblRight->setText(
        QStringLiteral("Safe Harbor - files NOT to be deleted: %1").arg(lb2->count()));
    btMoveLeft->setEnabled(lb2->hasSelection());
    btToAgainst->setEnabled(lb1->hasSelection());
    btReason->setEnabled(btMoveLeft->isEnabled());
    UpdateHeaders();
}

void TfrmReallyDelete::Timer1Timer() {
    Timer1->stop();
    ShowWarning();
}

void TfrmReallyDelete::ShowWarning() {
    infoBox(QStringLiteral(
        "All files selected appear on the Safe Harbor list.  To delete the files anyway, move "
        "them off of the Safe Harbor list onto the DELETION PANEL."));
    PageControl1->setCurrentWidget(tsSafeHarbor);
}

void TfrmReallyDelete::lb1Click() { btToAgainst->setEnabled(lb1->hasSelection()); }

void TfrmReallyDelete::lb2Click() {
    btMoveLeft->setEnabled(lb2->hasSelection());
    btReason->setEnabled(btMoveLeft->isEnabled());
}

void TfrmReallyDelete::btToAgainstClick() {
    lb2->addPaths(lb1->takeSelectedPaths());
    updateLeftRight();
    if (lb1->count() == 0) PageControl1->setCurrentWidget(tsSafeHarbor);
}

void TfrmReallyDelete::btMoveLeftClick() {
    lb1->addPaths(lb2->takeSelectedPaths());
    updateLeftRight();
    if (lb2->count() == 0) PageControl1->setCurrentWidget(tsDelete);
}

void TfrmReallyDelete::btReasonClick() {
    QListWidgetItem* current = lb2->currentItem();
    if (!current || !current->isSelected()) {
        const QList<QListWidgetItem*> selected = lb2->selectedItems();
        current = selected.isEmpty() ? current : selected.first();
    }
    if (!current) return;
    const QByteArray path = current->data(PathListBox::PathRole).toByteArray();
    const int reason = safeHarbor.reason(path, true);
    const QString quoted = QLatin1Char('"') + displayPath(path) + QLatin1Char('"');
    if (reason == SafeHarbor::OtherOwner)  // the file's own trait, not its folder's
        infoBox(QStringLiteral("This file ") + quoted +
                QStringLiteral(" is on the Safe Harbor List since it is ") +
                safeHarbor.text(reason));
    else if (SafeHarborCheck::isProtected(reason))
        infoBox(QStringLiteral("This file ") + quoted +
                QStringLiteral(
                    " is on the Safe Harbor List since the folder that it is stored in is ") +
                safeHarbor.text(reason));
    else
        infoBox(QStringLiteral("This file ") + quoted +
                QStringLiteral(" is on the Safe Harbor List because you moved it here."));
}

bool TfrmReallyDelete::NoFilesToDelete() {
    if (lb1->count() > 0) return false;
    infoBox(QStringLiteral(
        "There are no files on the deletion panel.  In order to perform this operation you need "
        "to move files from the NON-DELETE list to the deletion panel."));
    return true;
}

void TfrmReallyDelete::btDeleteAllClick() { runRemoval(&TfrmReallyDelete::DeleteAllClick); }
void TfrmReallyDelete::btRecycleClick() { runRemoval(&TfrmReallyDelete::RecycleClick); }
void TfrmReallyDelete::btZipClick() { runRemoval(&TfrmReallyDelete::ZipItClick); }

void TfrmReallyDelete::runRemoval(void (TfrmReallyDelete::*removal)()) {
    if (operationRunning_ || NoFilesToDelete()) return;
    pnlButtons->hide();
    // The bars appear once the removal starts (after its question).
    bar->hide();
    Gauge1->hide();
    lblName->clear();
    pnlProgress->show();
    // Only Close is meant to be used while files are removed.
    PageControl1->setEnabled(false);
    (this->*removal)();
    PageControl1->setEnabled(true);
    pnlButtons->show();
    pnlProgress->hide();
}

void TfrmReallyDelete::btCloseClick() {
    if (!operationRunning_) {
        QDialog::reject();
        return;
    }
    if (!archiving_) return;
    if (confirmed(context_.dialogs().question(
            QStringLiteral("Really abort?  Folders may be partially deleted!"), Buttons::YesNo,
            BoxIcon::Question, Beep::None)))
        abortRequested = true;
}

void TfrmReallyDelete::reject() { btCloseClick(); }

void TfrmReallyDelete::closeEvent(QCloseEvent* event) {
    if (operationRunning_) {
        event->ignore();
        btCloseClick();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace vastel
