#include "inspect/TfrmDetails.h"

#include "core/DateTexts.h"
#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "inspect/VersionInfoLines.h"
#include "inspect/ui/FileIcon.h"
#include "platform/Dialogs.h"
#include "platform/DirEntry.h"
#include "platform/NativePath.h"
#include "platform/Shell.h"
#include "platform/Volumes.h"
#include "results/PrintIt.h"
#include "widgets/AppContext.h"
#include "widgets/DialogRows.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vastel {

QString clusterUsageText(qint64 size, qint64 clusterBytes) {
    if (clusterBytes <= 0) return QStringLiteral("Cluster size: ?  Clusters used : ?");
    const qint64 clusters = size <= 0 ? 0 : (size - 1) / clusterBytes + 1;
    return QStringLiteral("Cluster size: ") + thousandsText(clusterBytes) +
           QStringLiteral("  Clusters used : ") + thousandsText(clusters);
}

QString attributeWords(quint32 attributes) {
    static const std::pair<quint32, const char*> words[] = {
        {faReadOnly, " ReadOnly"}, {faHidden, " Hidden"},       {faSysFile, " System"},
        {faVolumeID, " VolumeID"}, {faDirectory, " Directory"}, {faArchive, " Archive"},
    };
    QString text;
    for (const auto& [bit, word] : words)
        if (attributes & bit) text += QLatin1String(word);
    return text;
}

QString stampDateText(quint32 stamp) {
    const QString date = fileDateText(stamp);
    if (date.isEmpty()) return QStringLiteral("???");
    return date + QStringLiteral("  ") + relativeDateText(fileDateValue(stamp));
}

TfrmDetails::TfrmDetails(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmDetails"));
    setWindowTitle(QStringLiteral("File Details"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(40, 40);
    Image1->setAlignment(Qt::AlignCenter);

    pnlAttributes = new QFrame(this);
    pnlAttributes->setObjectName(QStringLiteral("pnlAttributes"));
    pnlAttributes->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(pnlAttributes);
    grid->setHorizontalSpacing(12);
    grid->setColumnStretch(1, 1);
    int row = 0;
    const auto field = [&](const char* name, const QString& caption) {
        auto* value = new QLabel(pnlAttributes);
        value->setObjectName(QLatin1String(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setMinimumWidth(380);
        if (!caption.isEmpty()) {
            auto* label = new QLabel(caption, pnlAttributes);
            grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
        }
        grid->addWidget(value, row++, 1);
        return value;
    };
    lblFileName = field("lblFileName", QStringLiteral("Name of file:"));
    lblFileName->setWordWrap(true);
    lblFileType = field("lblFileType", QStringLiteral("Type of file:"));
    lblSizeBytes = field("lblSizeBytes", QStringLiteral("Size:"));
    lblSizeK = field("lblSizeK", QString());
    lblCreate = field("lblCreate", QStringLiteral("Creation date:"));
    lblModify = field("lblModify", QStringLiteral("Modification date:"));
    lblAccess = field("lblAccess", QStringLiteral("Access date:"));
    lblAttributes = field("lblAttributes", QStringLiteral("Attributes:"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // One tab stop past the longest label lines the values up (the copyright's second tab
    // takes it one stop further).
    Memo1->setTabStopDistance(
        Memo1->fontMetrics().horizontalAdvance(QStringLiteral("Special build info: ")) + 12);
    Memo1->setMinimumHeight(150);

    const auto button = [this](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };
    btLaunch = button("btLaunch", QStringLiteral("&Open"),
                      QStringLiteral("Run/launch associated application"));
    btView = button("btView", QStringLiteral("&View"), QStringLiteral("View file"));
    btPrint = button("btPrint", QStringLiteral("Print"), QStringLiteral("Print file details"));
    btClose = button("btClose", QStringLiteral("Close"), QString());
    btClose->setDefault(true);
    connect(btLaunch, &QPushButton::clicked, this, &TfrmDetails::btLaunchClick);
    connect(btView, &QPushButton::clicked, this, &TfrmDetails::btViewClick);
    connect(btPrint, &QPushButton::clicked, this, &TfrmDetails::btPrintClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addWidget(pnlAttributes, 1);
    auto* buttons = rightAlignedRow({btLaunch, btView, btPrint, btClose});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
}

void TfrmDetails::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

QString TfrmDetails::wastedClusterSpace(qint64 size) const {
    // The file's own path names its file system.
    return clusterUsageText(size, clusterSize(detailsFile));
}

void TfrmDetails::FormShow() {
    DirEntry entry;
    if (!statPath(detailsFile, entry)) return;

    Image1->setPixmap(fileIcon(detailsFile).pixmap(32, 32));

    QStringList lines;
    versionInfoLines(detailsFile, lines, true);
    if (lines.isEmpty()) {
        // No version information: the buttons close up under the attributes.
        Memo1->hide();
        layout()->activate();
        resize(width(), layout()->minimumSize().height());
    } else {
        Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    }

    const QString name = displayPath(entry.name);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    lblFileType->setText(fileTypeText(dot >= 0 ? name.mid(dot) : QString()));
    lblFileName->setText(displayPath(detailsFile));
    lblSizeBytes->setText(thousandsText(entry.size) + QStringLiteral(" bytes"));
    lblSizeK->setText(wastedClusterSpace(entry.size));
    lblAccess->setText(stampDateText(entry.lastAccess));
    lblCreate->setText(stampDateText(entry.creation));
    lblModify->setText(stampDateText(entry.lastWrite));
    lblAttributes->setText(attributeWords(entry.attributes));
}

void TfrmDetails::btLaunchClick() {
    if (!openWithAssociatedProgram(detailsFile))
        errorBox(QStringLiteral("Couldn't open ") + displayPath(detailsFile));
}

void TfrmDetails::btViewClick() { context_.openViewer(this, detailsFile); }

void TfrmDetails::btPrintClick() {
    if (!context_.dialogs().printDialog(currentPrinter(), false)) return;
    lb.clear();
    lb << QStringLiteral("Name of file : \t") + displayPath(detailsFile)
       << QStringLiteral("Type of file : \t") + lblFileType->text() << QStringLiteral(" ")
       << QStringLiteral("Size of file : \t") + lblSizeBytes->text()
       << QStringLiteral("               \t") + lblSizeK->text() << QStringLiteral(" ")
       << QStringLiteral("Creation date     : \t") + lblCreate->text()
       << QStringLiteral("Modification date : \t") + lblModify->text()
       << QStringLiteral("Access date       : \t") + lblAccess->text() << QStringLiteral(" ")
       << QStringLiteral("Attributes : \t") + lblAttributes->text() << QStringLiteral(" ");
    const QString memo = Memo1->toPlainText();
    if (!memo.isEmpty()) lb << memo.split(QLatin1Char('\n'));
    printTabList(lb, QStringLiteral("File details of ") + displayPath(detailsFile));
}

}  // namespace vastel
