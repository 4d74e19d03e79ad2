#include "window/frm_main.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLocale>

#include "display/led_rules.h"
#include "window/fonts.h"
#include "window/frm_help.h"
#include "window/number_label.h"

// The pictures live in a static library that nothing else refers to; registering them here
// keeps the linker from dropping them.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace kelvane {
namespace {

constexpr int kDriveLabelDesignLeft[kPanels] = {945, 855, 855, 825, 840, 870, 825, 870};

int PanelTop(int p) {
    return 270 + 435 * p;
}

Picture* MakePicture(const QString& name, int index, QWidget* parent) {
    auto* picture = new Picture(name, parent);
    picture->setObjectName(index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index));
    return picture;
}

}  // namespace

FrmMain::FrmMain(Platform platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), platform_(platform) {
    RegisterPictures();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dorvane"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::ClickFocus);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    setAutoFillBackground(true);
    PlaceTwips(this, 0, 0, 4485, 4860);

    const QString point = QLocale().decimalPoint();
    decimalPoint_ = (point.isEmpty() ? QStringLiteral(".") : point).toUtf8();

    CreateControls();
    ConnectControls();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &FrmMain::Timer1_Timer);
    Timer1->start();
}

FrmMain::~FrmMain() {
    if (help_) {
        delete help_.data();
    }
}

// Controls are created from the back to the front, so creation order is stacking order.
void FrmMain::CreateControls() {
    Image1 = MakePicture(QStringLiteral("Image1"), -1, this);
    PlaceTwips(Image1, 570, 30, 1710, 240);

    const std::array<std::pair<const char*, std::array<Picture*, kPanels>*>, 8> titles = {{
        {"imgFRP", &imgFRP},
        {"imgFRK", &imgFRK},
        {"imgFRM", &imgFRM},
        {"imgTRK", &imgTRK},
        {"imgUD", &imgUD},
        {"imgURK", &imgURK},
        {"imgURM", &imgURM},
        {"imgURP", &imgURP},
    }};
    for (int p = 0; p < kPanels; ++p) {
        for (const auto& [name, array] : titles) {
            Picture* title = MakePicture(QLatin1String(name), p, this);
            PlaceTwips(title, 0, PanelTop(p), 2040, 405);
            (*array)[static_cast<std::size_t>(p)] = title;
        }
    }
    Shape1 = new OutlineBox(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    PlaceTwips(Shape1, 0, 0, 2040, 3720);

    imgClose2 = MakePicture(QStringLiteral("imgClose2"), -1, this);
    imgClose3 = MakePicture(QStringLiteral("imgClose3"), -1, this);
    imgMin1 = MakePicture(QStringLiteral("imgMin1"), -1, this);
    imgMin2 = MakePicture(QStringLiteral("imgMin2"), -1, this);
    for (Picture* button : {imgClose2, imgClose3}) {
        PlaceTwips(button, 45, 30, 180, 195);
    }
    for (Picture* button : {imgMin1, imgMin2}) {
        PlaceTwips(button, 240, 15, 180, 195);
    }
    imgClose3->hide();
    imgMin2->hide();

    const QFont numberFont = NumberFont();
    const QFont driveFont = DriveLetterFont();
    for (int p = 0; p < kPanels; ++p) {
        const auto i = static_cast<std::size_t>(p);
        lblDrv[i] = new QLabel(this);
        lblDrv[i]->setObjectName(QStringLiteral("lblDrv(%1)").arg(p));
        StyleWhiteLabel(lblDrv[i], driveFont);
        PlaceTwips(lblDrv[i], kDriveLabelDesignLeft[p], 450 + 435 * p, 210, 165);
        lblDrv[i]->hide();
    }
    for (int p = 0; p < kPanels; ++p) {
        const auto i = static_cast<std::size_t>(p);
        lblInfo[i] = new NumberLabel(this);
        lblInfo[i]->setObjectName(QStringLiteral("lblInfo(%1)").arg(p));
        StyleWhiteLabel(lblInfo[i], numberFont);
        PlaceTwips(lblInfo[i], 1440, 450 + 435 * p, 585, 180);
        // A label whose size can vary asks its parent to lay out again on every new text:
        // one more posted event, and a wake-up of the event loop, per changed tick.
        lblInfo[i]->setFixedSize(lblInfo[i]->size());
    }
    for (int p = 0; p < kPanels; ++p) {
        const auto i = static_cast<std::size_t>(p);
        imgR2G[i] = MakePicture(QStringLiteral("imgR2G"), p, this);
        imgG2R[i] = MakePicture(QStringLiteral("imgG2R"), p, this);
        PlaceTwips(imgR2G[i], 0, PanelTop(p), 2040, 180);
        PlaceTwips(imgG2R[i], 0, PanelTop(p), 2040, 180);
    }
    for (int p = 0; p < kPanels; ++p) {
        for (int n = 1; n <= kSegments; ++n) {
            auto* segment = new LedSegment(this);
            segment->setObjectName(
                QStringLiteral("imgRamUse_%1(%2)").arg(n, 2, 10, QLatin1Char('0')).arg(p));
            PlaceTwips(segment, 75 * (n - 1), PanelTop(p), 90, 180);
            segment->SetFill(SegmentColour(ColourScheme::GreenToRed, n));
            imgRamUse[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(p)] = segment;
        }
    }

    imgHelp1 = MakePicture(QStringLiteral("imgHelp1"), -1, this);
    imgHelp2 = MakePicture(QStringLiteral("imgHelp2"), -1, this);
    PlaceTwips(imgHelp1, 450, 45, 180, 210);
    PlaceTwips(imgHelp2, 450, 45, 180, 210);
    imgHelp2->hide();

    const QFont arrowFont = ArrowFont();
    Label1 = new ClickLabel(QStringLiteral("<"), this);
    Label2 = new ClickLabel(QStringLiteral(">"), this);
    Label3 = new ClickLabel(QStringLiteral("^"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    for (QLabel* arrow : {static_cast<QLabel*>(Label1), static_cast<QLabel*>(Label2),
                          static_cast<QLabel*>(Label3)}) {
        StyleWhiteLabel(arrow, arrowFont);
    }
    PlaceTwips(Label1, 1635, 60, 135, 210);
    PlaceTwips(Label2, 1890, 60, 120, 195);
    PlaceTwips(Label3, 1755, 30, 120, 120);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    if (help_) {
        help_->close();
    }
    event->accept();
    emit unloaded();
}

void FrmMain::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        Form_KeyDown(112 + (key - Qt::Key_F1));
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmMain::SetWindowPos(int x, int y, int cx, int cy) {
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    setGeometry(x, y, cx, cy);
    show();
}

}  // namespace kelvane
