// The controls and the layout of the pair comparison window.
#include "finders/TfrmDupCompare.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vastel {

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

void TfrmDupCompare::buildSide(Side& s, int number) {
    const QString n = QString::number(number);
    s.GroupBox = new QGroupBox(this);
    s.GroupBox->setObjectName(QStringLiteral("GroupBox") + n);
    auto* grid = new QGridLayout(s.GroupBox);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);

    s.Image = new QLabel(s.GroupBox);
    s.Image->setObjectName(QStringLiteral("Image") + n);
    s.Image->setFixedSize(36, 36);
    s.Image->setAlignment(Qt::AlignCenter);
    s.lblFolder = new QLabel(s.GroupBox);
    s.lblFolder->setWordWrap(true);
    s.lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(s.Image, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(s.lblFolder, 0, 1);
    s.lblFolder->setObjectName(QStringLiteral("lblFolder") + n);

    int row = 1;
    const auto field = [&](QLabel*& label, const char* name, const QString& caption) {
        label = new QLabel(s.GroupBox);
        label->setObjectName(QLatin1String(name) + n);
        label->setAutoFillBackground(true);
        label->setMinimumWidth(fontMetrics().averageCharWidth() * 34);
        label->setMargin(1);
        grid->addWidget(new QLabel(caption, s.GroupBox), row, 0);
        grid->addWidget(label, row++, 1);
    };
    field(s.lblType, "lblType", QStringLiteral("Type:"));
    field(s.lblSizeBytes, "lblSizeBytes", QStringLiteral("Size:"));
    field(s.lblCreate, "lblCreate", QStringLiteral("Created:"));
    field(s.lblModify, "lblModify", QStringLiteral("Modified:"));
    field(s.lblAccess, "lblAccess", QStringLiteral("Accessed:"));
    field(s.lblAttributes, "lblAttributes", QStringLiteral("Attributes:"));
    field(s.lblCRC, "lblCRC", QStringLiteral("CRC:"));
    // The checksum text lines up in its field of eight.
    s.lblCRC->setFont(QFont(QStringLiteral("monospace"), font().pointSize()));
    s.lblDel = new QLabel(s.GroupBox);
    s.lblDel->setObjectName(QStringLiteral("lblDel") + n);
    s.lblDel->setAutoFillBackground(true);
    grid->addWidget(s.lblDel, row++, 0, 1, 2);

    const bool left = number == 1;
    const QString markHint =
        QStringLiteral("Mark file for deletion (double click on grid also works)");
    s.btMark = button(s.GroupBox, QStringLiteral("btMark") + n,
                      left ? QStringLiteral("&Mark") : QStringLiteral("M&ark"), markHint);
    s.btLaunch = button(s.GroupBox, QStringLiteral("btLaunch") + n,
                        left ? QStringLiteral("&Open") : QStringLiteral("Ope&n"),
                        QStringLiteral("Run/launch associated application"));
    s.btView = button(s.GroupBox, QStringLiteral("btView") + n,
                      left ? QStringLiteral("&View") : QStringLiteral("Vi&ew"),
                      QStringLiteral("View file"));
    s.btBrowse = button(s.GroupBox, QStringLiteral("btBrowse") + n,
                        left ? QStringLiteral("&Browse") : QStringLiteral("Bro&wse"),
                        QStringLiteral("Browse this file and folder"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    for (QPushButton* b : {s.btMark, s.btLaunch, s.btView, s.btBrowse}) buttons->addWidget(b);
    buttons->addStretch(1);
    grid->addLayout(buttons, row++, 0, 1, 2);

    s.tlBox = new QListWidget(this);
    s.tlBox->setObjectName(QStringLiteral("tlBox") + n);
    s.tlBox->setSelectionMode(QAbstractItemView::NoSelection);
    s.tlBox->setFocusPolicy(Qt::NoFocus);
    s.tlBox->setMinimumHeight(fontMetrics().height() * 8);
}

void TfrmDupCompare::buildControls() {
    buildSide(side1, 1);
    buildSide(side2, 2);

    const auto arrow = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setToolTip(QStringLiteral("Arrow points to most recent entry"));
        l->setFixedSize(22, 16);
        l->hide();
        return l;
    };
    imgCreate = arrow("imgCreate");
    imgModify = arrow("imgModify");
    imgAccess = arrow("imgAccess");

    pnlButtons = new QWidget(this);
    pnlButtons->setObjectName(QStringLiteral("pnlButtons"));
    sbL1 = button(pnlButtons, QStringLiteral("sbL1"), QStringLiteral("&Prev pair"),
                  QStringLiteral("Display previous match (PgUp)"));
    sbR1 = button(pnlButtons, QStringLiteral("sbR1"), QStringLiteral("&Next pair"),
                  QStringLiteral("Display next match (PgDn)"));
    btCompute = button(
        pnlButtons, QStringLiteral("btCompute"), QStringLiteral("&CRC"),
        QStringLiteral("If CRC values are different the the contents of each file is different"));
    cbCRC =
        new QCheckBox(QStringLiteral("Auto compare CRC vals (size must be the same)"), pnlButtons);
    cbCRC->setObjectName(QStringLiteral("cbCRC"));
    cbCRC->setToolTip(QStringLiteral("If checked and file sizes are equal, will check CRC value"));
    btPrint = button(pnlButtons, QStringLiteral("btPrint"), QStringLiteral("Prin&t"),
                     QStringLiteral("Print file details"));
    btClose = button(pnlButtons, QStringLiteral("btClose"), QStringLiteral("Close"), QString());
    auto* panel = new QHBoxLayout(pnlButtons);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(3);
    panel->addWidget(sbL1);
    panel->addWidget(sbR1);
    panel->addSpacing(8);
    panel->addWidget(btCompute);
    panel->addWidget(cbCRC);
    panel->addStretch(1);
    panel->addWidget(btPrint);
    panel->addWidget(btClose);

    auto* sides = new QHBoxLayout;
    sides->setSpacing(0);
    sides->addWidget(side1.GroupBox, 1);
    sides->addSpacing(30);  // the arrows sit in this gap
    sides->addWidget(side2.GroupBox, 1);
    auto* lists = new QHBoxLayout;
    lists->setSpacing(30);
    lists->addWidget(side1.tlBox, 1);
    lists->addWidget(side2.tlBox, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 3);
    layout->setSpacing(3);
    layout->addLayout(sides);
    layout->addLayout(lists, 1);
    layout->addWidget(pnlButtons);
}

// The arrow pictures: towards the more recent side, or "=".
QPixmap arrowPicture(int direction) {
    const qreal ratio = 2;
    QPixmap pixmap(QSize(22, 16) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 160));
    if (direction == 0) {
        p.drawRect(QRectF(4, 4, 14, 2.5));
        p.drawRect(QRectF(4, 9.5, 14, 2.5));
    } else {
        const qreal tip = direction < 0 ? 2 : 20, base = direction < 0 ? 10 : 12;
        const qreal tail = direction < 0 ? 20 : 2;
        p.drawPolygon(QPolygonF({QPointF(tip, 8), QPointF(base, 1), QPointF(base, 15)}));
        p.drawRect(QRectF(std::min(base, tail), 5.5, std::abs(tail - base), 5));
    }
    return pixmap;
}

void TfrmDupCompare::placeArrows() {
    const auto place = [this](QLabel* arrow, QLabel* leftLabel) {
        const QPoint at = leftLabel->mapTo(this, QPoint(0, 0));
        const int gapLeft = side1.GroupBox->geometry().right() + 1;
        const int gapRight = side2.GroupBox->geometry().left();
        arrow->move(gapLeft + (gapRight - gapLeft - arrow->width()) / 2,
                    at.y() + (leftLabel->height() - arrow->height()) / 2);
        arrow->raise();
    };
    place(imgCreate, side1.lblCreate);
    place(imgModify, side1.lblModify);
    place(imgAccess, side1.lblAccess);
}

}  // namespace vastel
