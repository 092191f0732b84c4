#include "tform8.h"

#include "drawing/programfonts.h"
#include "replayicons.h"
#include "session/pathstrings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

namespace loomscope {

namespace {

constexpr int kPanelHeight = 40;
constexpr int kTickMs = 10;
constexpr int kThickLine = 3;
constexpr int kThinLine = 1;
constexpr int kNeedleReach = 15;
// Room for the counters' text: up to the next control to the right.
constexpr int kStitchCounterRoom = 403 - 296;
constexpr int kColourCounterRoom = 488 - 403;
constexpr int kPanelFontPixels = 11;
constexpr int kSmallestCounterPixels = 9;

QFont panelFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(kPanelFontPixels);
    return font;
}

// The panel font fits counts of up to five digits; the counters of larger designs get a
// smaller one, chosen once per design so the text does not jump while it counts.
void fitCounterFont(QLabel* label, const QString& widest, int room)
{
    QFont font = panelFont();
    while (font.pixelSize() > kSmallestCounterPixels &&
           QFontMetrics(font).horizontalAdvance(widest) > room)
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

} // namespace

TForm8::TForm8(std::function<TColor(int)> readcolorlist, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      readcolorlist_(std::move(readcolorlist))
{
    if (!readcolorlist_)
        readcolorlist_ = [](int) { return TColor{0xFFFFFF}; };
    setObjectName(QStringLiteral("Form8"));
    loadProgramFonts();
    setFont(panelFont());
    setWindowTitle(tr("走针"));
    resize(996, 655);
    // Every pixel below the panel is painted here: the picture, or black around it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    buildPanel();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickMs);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TForm8::Timer1Timer);
}

TForm8::~TForm8() = default;

void TForm8::buildPanel()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    // The panel keeps the desktop's grey, not the window's black: set explicitly, as a palette
    // equal to the application's would simply inherit the black.
    QPalette panel = QApplication::palette();
    panel.setColor(QPalette::Window, panel.color(QPalette::Window));
    Panel1->setPalette(panel);
    Panel1->setAutoFillBackground(true);
    Panel1->setGeometry(0, 0, width(), kPanelHeight);
    const QColor grey = Panel1->palette().color(QPalette::Button);

    auto label = [&](const char* name, const QString& text, int x, int width) {
        auto* l = new QLabel(text, Panel1);
        l->setObjectName(QLatin1String(name));
        l->move(x, 12);
        l->adjustSize();
        if (width > 0)
            l->resize(width, l->height());
        return l;
    };
    auto coloured = [](QLabel* l, const QColor& colour) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour);
        l->setPalette(p);
    };
    Label1 = label("Label1", tr("速度："), 16, 0);
    Label2 = label("Label2", tr("慢"), 63, 0);
    coloured(Label2, Qt::red);
    TrackBar1 = new QSlider(Qt::Horizontal, Panel1);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    // The slider begins after its caption, however long a translation makes it, and ends
    // where it always does.
    const int sliderLeft = std::max(82, Label2->geometry().right() + 3);
    TrackBar1->setGeometry(sliderLeft, 7, 255 - sliderLeft, 34);
    TrackBar1->setRange(1, 10);
    TrackBar1->setValue(1);
    TrackBar1->setPageStep(1);
    TrackBar1->setSingleStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(1);
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm8::TrackBar1Change);
    Label3 = label("Label3", tr("快"), 261, 0);
    coloured(Label3, QColor(0, 128, 0));
    Label4 = label("Label4", tr("针数："), 296, 109);
    Label5 = label("Label5", tr("颜色："), 403, 109);

    auto button = [&](const char* name, ReplayIcon icon, QRect geometry, void (TForm8::*click)()) {
        auto* b = new QToolButton(Panel1);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(geometry);
        b->setIcon(replayIcon(icon, grey));
        b->setIconSize(replayIconSize(icon));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, click);
        return b;
    };
    SpeedButton1 =
        button("SpeedButton1", ReplayIcon::Play, {488, 7, 45, 22}, &TForm8::SpeedButton1Click);
    SpeedButton2 =
        button("SpeedButton2", ReplayIcon::Pause, {543, 7, 44, 22}, &TForm8::SpeedButton2Click);
    SpeedButton3 =
        button("SpeedButton3", ReplayIcon::Stop, {598, 7, 41, 22}, &TForm8::SpeedButton3Click);
    SpeedButton4 =
        button("SpeedButton4", ReplayIcon::Restart, {653, 7, 44, 22}, &TForm8::SpeedButton4Click);
    SpeedButton1->setEnabled(false);

    CheckBox1 = new QCheckBox(tr("针迹点"), Panel1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->move(720, 11);
    CheckBox1->adjustSize();
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm8::CheckBox1Click);
    RadioButton1 = new QRadioButton(tr("粗线"), Panel1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->move(792, 11);
    RadioButton1->adjustSize();
    RadioButton1->setChecked(true);
    connect(RadioButton1, &QRadioButton::toggled, this, &TForm8::RadioButton1Click);
    RadioButton2 = new QRadioButton(tr("细线"), Panel1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->move(840, 11);
    RadioButton2->adjustSize();
    connect(RadioButton2, &QRadioButton::toggled, this, &TForm8::RadioButton2Click);

    Button12 = new QPushButton(tr("关闭"), Panel1);
    Button12->setObjectName(QStringLiteral("Button12"));
    Button12->setGeometry(910, 7, 47, 25);
    // Enter must not close the replay by accident.
    Button12->setAutoDefault(false);
    connect(Button12, &QPushButton::clicked, this, &TForm8::Button12Click);
}

void TForm8::replay(const std::string& designPath)
{
    FormShow(designPath);
    exec();
}

void TForm8::showReplay(const std::string& designPath)
{
    FormShow(designPath);
    show();
}

void TForm8::FormShow(const std::string& designPath)
{
    start = false;
    ffilename = designPath;
    // The speed is what the track bar shows: it keeps its position between showings.
    speed = TrackBar1->value();
    stepper_.reset();
    surface_.free();
    needleShown_ = false;
    failure_.clear();
    Label4->setText(tr("针数："));
    Label5->setText(tr("颜色："));
    Label4->setFont(panelFont());
    Label5->setFont(panelFont());
    setButtons({false, true, true, true});

    // Maximised over the screen of the window that opens the replay; the geometry is set as
    // well, so the first tick finds the final size even where no window manager maximises.
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    Timer1->start();
}

void TForm8::FormClose()
{
    Timer1->stop();
    stepper_.reset();
    surface_.free();
    needleShown_ = false;
}

void TForm8::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm8::Timer1Timer()
{
    if (!start)
        startReplay();
    else if (stepper_)
        drawRecords();
    else
        Timer1->stop(); // nothing to replay
}

void TForm8::startReplay()
{
    // The first tick only reads and prepares; the records are drawn from the next one on.
    ReplayStitches stitches = loadstitches(ffilename, width(), height() - kPanelHeight);
    start = true;
    if (stitches.empty()) {
        // Nothing to replay: the black area stays, nothing steps, only closing works.
        Timer1->stop();
        setButtons(ReplayButtons::nothing());
        if (stitches.status != ReplayReadStatus::TooShort)
            failure_ = tr("Cannot open file \"%1\". %2")
                           .arg(displayPath(ffilename), QString::fromStdString(stitches.error));
        update();
        return;
    }
    const QString records = QString::number(stitches.Fstitchs);
    const QString colours = QString::number(stitches.Fcolors);
    fitCounterFont(Label4, tr("针数：%1 / %1").arg(records), kStitchCounterRoom);
    fitCounterFont(Label5, tr("色序：%1 / %1").arg(colours), kColourCounterRoom);
    surface_.create(width(), height());
    stepper_ = std::make_unique<ReplayStepper>(std::move(stitches), readcolorlist_);
    Timer1->start();
    setButtons(ReplayButtons::playing());
}

void TForm8::drawRecords()
{
    const QRegion changed =
        surface_.draw([&](ReplaySink& sink) { stepper_->tick(sink, speed, linew, fzhengji); });
    if (stepper_->finished()) {
        Timer1->stop();
        setButtons(ReplayButtons::finished());
    }
    // Only what changed is shown anew: the new records and the needle's old and new place.
    QRegion dirty = changed.translated(0, kPanelHeight);
    if (needleShown_)
        dirty += needleShownAt_;
    needleShown_ = true;
    needleShownAt_ = needleRect();
    dirty += needleShownAt_;
    update(dirty);
    showCounters();
}

void TForm8::showCounters()
{
    Label4->setText(QString::fromStdString(stepper_->stitchCounter()));
    Label5->setText(QString::fromStdString(stepper_->colourCounter()));
}

void TForm8::setButtons(ReplayButtons state)
{
    SpeedButton1->setEnabled(state.play);
    SpeedButton2->setEnabled(state.pause);
    SpeedButton3->setEnabled(state.stop);
    SpeedButton4->setEnabled(state.restart);
}

void TForm8::TrackBar1Change(int position)
{
    speed = position;
}

void TForm8::CheckBox1Click(bool checked)
{
    fzhengji = checked;
}

void TForm8::RadioButton1Click(bool checked)
{
    if (checked)
        linew = kThickLine;
}

void TForm8::RadioButton2Click(bool checked)
{
    if (checked)
        linew = kThinLine;
}

void TForm8::SpeedButton1Click()
{
    Timer1->start();
    setButtons(ReplayButtons::playing());
}

void TForm8::SpeedButton2Click()
{
    Timer1->stop();
    setButtons(ReplayButtons::paused());
}

void TForm8::SpeedButton3Click()
{
    Timer1->stop();
    setButtons(ReplayButtons::stopped());
}

void TForm8::SpeedButton4Click()
{
    if (stepper_) {
        surface_.clear();
        stepper_->restart();
        needleShown_ = false;
        update();
    }
    Timer1->start();
    setButtons(ReplayButtons::playing());
}

void TForm8::Button12Click()
{
    Timer1->stop();
    close();
}

void TForm8::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Panel1->setGeometry(0, 0, width(), kPanelHeight);
}

QRect TForm8::needleRect() const
{
    const TPointF at = stepper_->needle();
    const int x = static_cast<int>(at.x);
    const int y = static_cast<int>(at.y) + kPanelHeight;
    return {x - kNeedleReach, y - kNeedleReach, 2 * kNeedleReach + 1, 2 * kNeedleReach + 1};
}

void TForm8::drawneedle(QPainter& painter, int x, int y)
{
    // A black plus with a white cross inside, so it shows on any thread colour.
    painter.fillRect(QRect(x - 2, y - 15, 4, 30), Qt::black);
    painter.fillRect(QRect(x - 15, y - 2, 30, 4), Qt::black);
    painter.fillRect(QRect(x, y - 14, 1, 28), Qt::white);
    painter.fillRect(QRect(x - 14, y, 28, 1), Qt::white);
}

void TForm8::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect picture =
        surface_.isNull() ? QRect() : QRect(QPoint(0, kPanelHeight), surface_.image().size());
    for (const QRect& r : event->region()) {
        const QRect inside = r & picture;
        if (!inside.isEmpty())
            painter.drawImage(inside.topLeft(), surface_.image(),
                              inside.translated(0, -kPanelHeight));
        for (const QRect& outside : QRegion(r) - QRegion(inside))
            painter.fillRect(outside, Qt::black);
    }
    if (needleShown_ && stepper_) {
        const QPoint at = needleRect().center();
        drawneedle(painter, at.x(), at.y());
    }
    if (!failure_.isEmpty()) {
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(rect().adjusted(20, kPanelHeight + 20, -20, -20),
                         Qt::AlignCenter | Qt::TextWordWrap, failure_);
    }
}

} // namespace loomscope
