#include "tform1.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

namespace loomscope {

namespace {
constexpr int kSampleSize = 15;
constexpr int kSampleOffset = 16;
} // namespace

TForm1::TForm1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    // While the main window is hidden for a pick, closing the overlay must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setCursor(Qt::CrossCursor);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    Shape1->setAutoFillBackground(true);
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape1->resize(kSampleSize, kSampleSize);
    Shape1->hide();
}

std::optional<TColor> TForm1::pick(const QImage& capture, const QRect& screenGeometry)
{
    setGeometry(screenGeometry);
    // A scaled screen copies into more pixels than it has points.
    QImage picture = capture;
    if (screenGeometry.width() > 0 && picture.width() > screenGeometry.width())
        picture.setDevicePixelRatio(static_cast<double>(picture.width()) / screenGeometry.width());
    setCapture(picture);
    exec();
    releaseCapture();
    return picked_;
}

void TForm1::setCapture(const QImage& capture)
{
    picked_.reset();
    capture_ = capture.convertToFormat(QImage::Format_RGB32);
    capture_.setDevicePixelRatio(capture.devicePixelRatio());
    const QPixmap picture = QPixmap::fromImage(capture_);
    Image1->setPixmap(picture);
    Image1->setGeometry(QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize()));
    sampleAt(QPoint(0, 0));
    Shape1->raise();
    Shape1->show();
}

void TForm1::releaseCapture()
{
    Shape1->hide();
    Image1->clear();
    capture_ = QImage();
}

void TForm1::sampleAt(QPoint position)
{
    // The picture may hold more pixels than the window has points (a scaled screen).
    const double ratio = capture_.devicePixelRatio();
    const QPoint pixel(static_cast<int>(position.x() * ratio),
                       static_cast<int>(position.y() * ratio));
    if (capture_.valid(pixel)) {
        const QRgb rgbValue = capture_.pixel(pixel);
        sample_ = rgb(qRed(rgbValue), qGreen(rgbValue), qBlue(rgbValue));
    }
    QPalette palette = Shape1->palette();
    palette.setColor(QPalette::Window, QColor(redOf(sample_), greenOf(sample_), blueOf(sample_)));
    palette.setColor(QPalette::WindowText, Qt::black);
    Shape1->setPalette(palette);
    Shape1->move(Image1->mapTo(this, position) + QPoint(kSampleOffset, kSampleOffset));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Image1 || capture_.isNull())
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        sampleAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress)
        return true; // the picture keeps the press, so its release comes here as well
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            // The colour under the pointer where it was let go, also without a move before.
            sampleAt(mouse->position().toPoint());
            picked_ = sample_;
            accept();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm1::mouseReleaseEvent(QMouseEvent* event)
{
    // Beside the picture: no colour.
    QDialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        reject();
}

} // namespace loomscope
