// The controls, the layout and the pop-up menu of the files-by-date window.
#include "core/GridModel.h"
#include "finders/TfrmMods.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/WindowParts.h"
#include "widgets/DriveList.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace vastel {

namespace {

QMenu* subMenu(QMenu* menu, const QString& title, const char* name,
               std::initializer_list<QAction*> items) {
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(QLatin1String(name));
    for (QAction* a : items) sub->addAction(a);
    return sub;
}

const QStringList& headers() {
    static const QStringList h{QStringLiteral("Filename"), QStringLiteral("Accessed"),
                               QStringLiteral("Created"),  QStringLiteral("Modified"),
                               QStringLiteral("Size"),     QStringLiteral("Folder"),
                               QStringLiteral("Type")};
    return h;
}

// A date-only field with a calendar. Years are shown with four digits, so that a date is never
// read back into another century.
QDateEdit* dateField(const char* name, QWidget* parent) {
    auto* field = named(new QDateEdit(parent), name);
    field->setCalendarPopup(true);
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    field->setDisplayFormat(format);
    field->setMinimumDate(QDate(1601, 1, 1));
    field->setMaximumDate(QDate(9999, 12, 31));
    return field;
}

QGroupBox* radioGroup(const char* name, const QString& caption, const QStringList& items,
                      QButtonGroup*& group, QWidget* parent) {
    auto* box = named(new QGroupBox(caption, parent), name);
    auto* row = new QHBoxLayout(box);
    row->setSpacing(12);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* rb = new QRadioButton(items[i], box);
        rb->setObjectName(QLatin1String(name) + QString::number(i));
        group->addButton(rb, i);
        row->addWidget(rb);
    }
    row->addStretch(1);
    return box;
}

}  // namespace

void TfrmMods::buildControls() {
    Panel1 = named(new QWidget(this), "Panel1");
    rgWhat = radioGroup("rgWhat", QStringLiteral("Search for files that were"),
                        {QStringLiteral("Last accessed"), QStringLiteral("Created"),
                         QStringLiteral("Last modified")},
                        whatButtons, Panel1);
    whatButtons->button(0)->setChecked(true);
    rgWhen = radioGroup("rgWhen", QString(),
                        {QStringLiteral("On or Before"), QStringLiteral("In between"),
                         QStringLiteral("On or After")},
                        whenButtons, Panel1);
    whenButtons->button(1)->setChecked(true);

    dtStart = dateField("dtStart", Panel1);
    dtEnd = dateField("dtEnd", Panel1);
    lblAnd = named(new QLabel(QStringLiteral("and"), Panel1), "lblAnd");
    auto* dates = new QHBoxLayout;
    dates->setSpacing(8);
    dates->addWidget(dtStart);
    dates->addWidget(lblAnd);
    dates->addWidget(dtEnd);
    dates->addStretch(1);
    static_cast<QHBoxLayout*>(rgWhen->layout())->insertLayout(3, dates);

    auto* lblMatch = named(new QLabel(QStringLiteral("Wildcard match"), Panel1), "lblMatch");
    cbWildCard = named(new QComboBox(Panel1), "cbWildCard");
    cbWildCard->setEditable(true);
    cbWildCard->setInsertPolicy(QComboBox::NoInsert);
    cbWildCard->setToolTip(QStringLiteral("Wildcard pattern for matching file types"));
    cbWildCard->setMinimumContentsLength(8);
    cbWildCard->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblMatch->setBuddy(cbWildCard);
    lblWild = named(new QLabel(QStringLiteral("All files"), Panel1), "lblWild");
    lblWild->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("W")) * 12);
    auto* pattern = new QHBoxLayout;
    pattern->setSpacing(8);
    pattern->addWidget(lblMatch);
    pattern->addWidget(cbWildCard);
    pattern->addWidget(lblWild, 1);

    pckDrive = named(new QListWidget(Panel1), "pckDrive");
    pckDrive->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    pckDrive->setMinimumWidth(fontMetrics().averageCharWidth() * 26);
    pckDrive->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* options = new QVBoxLayout;
    options->setSpacing(6);
    options->addWidget(rgWhat);
    options->addWidget(rgWhen);
    options->addLayout(pattern);
    options->addStretch(1);

    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(12);
    top->addLayout(options, 3);
    top->addWidget(pckDrive, 2);

    btOK = namedButton("btOK", QStringLiteral("&Start"), QStringLiteral("Start scanning for files"),
                       this);
    btOK->setDefault(true);
    btClose = namedButton("btClose", QStringLiteral("Close"), QStringLiteral("Close window"), this);
    btAbort = namedButton("btAbort", QStringLiteral("&Abort"), QStringLiteral("Abort scan"), this);
    btMark = namedButton("btMark", QStringLiteral("&Mark"),
                         QStringLiteral("Mark files for deletion"), this);
    btDelete = namedButton("btDelete", QStringLiteral("Clean?"),
                           QStringLiteral("Clean up marked files"), this);
    btOptions = namedButton("btOptions", QStringLiteral("Options"),
                            QStringLiteral("Right click on grid for same options"), this);
    btBrowse = namedButton("btBrowse", QStringLiteral("&Browse"),
                           QStringLiteral("Browse through files"), this);
    btDetails = namedButton("btDetails", QStringLiteral("&Details"),
                            QStringLiteral("View more file details"), this);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    for (QPushButton* b :
         {btOK, btClose, btAbort, btMark, btDelete, btOptions, btBrowse, btDetails})
        buttons->addWidget(b);
    buttons->addStretch(1);

    grid = named(new QTableView(this), "grid");
    grid->setToolTip(QStringLiteral("Double click to mark for deletion, right click for options"));
    model = new GridModel(headers(), grid);
    grid->setModel(model);
    setupResultGrid(grid);
    model->setMarkColumn(0);
    model->setMarkGlyph(QVariant::fromValue(markGlyph()));
    model->setColumnAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    grid->horizontalHeader()->setMinimumSectionSize(24);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);

    pnlScan = named(new QStatusBar(this), "pnlScan");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* upper = new QVBoxLayout;
    upper->setContentsMargins(8, 8, 8, 6);
    upper->setSpacing(8);
    upper->addWidget(Panel1);
    upper->addLayout(buttons);
    layout->addLayout(upper);
    layout->addWidget(grid, 1);
    layout->addWidget(pnlScan);
}

void TfrmMods::buildMenu() {
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    PopupMenu1->addAction(resultList->Details1);
    HighlightFolders =
        PopupMenu1->addAction(QStringLiteral("Highlight folders on Safe Harbor list"));
    HighlightFolders->setObjectName(QStringLiteral("HighlightFolders"));
    HighlightFolders->setCheckable(true);
    HighlightFolders->setChecked(true);
    PopupMenu1->addSeparator();
    QAction* addFolder = addFolderMenuItem(PopupMenu1, pckDrive, DriveSource::filesByDate());
    addFolder->setText(QStringLiteral("Add a folder to list of drives"));
    addFolder->setObjectName(QStringLiteral("Addafoldertolistofdrives1"));
    PopupMenu1->addSeparator();
    PopupMenu1->addMenu(resultList->Sort1);
    subMenu(PopupMenu1, QStringLiteral("Mark"), "Mark1",
            {resultList->Markall1, resultList->Unmarkall1});
    subMenu(PopupMenu1, QStringLiteral("Resize"), "Resize1",
            {resultList->Shrink1, resultList->Grow1});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(resultList->Run1);
    PopupMenu1->addAction(resultList->View1);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(resultList->Print1);
    subMenu(PopupMenu1, QStringLiteral("Clipboard"), "Clipboard1",
            {resultList->Filenamesonly1, resultList->Entiregridseparatedbytabs1});
}

}  // namespace vastel
