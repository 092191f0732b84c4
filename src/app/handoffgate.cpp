#include "handoffgate.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace loomscope {

HandOffGate::HandOffGate(QWidget* window) : QObject(window)
{
    window->installEventFilter(this);
    poll_.setInterval(250);
    connect(&poll_, &QTimer::timeout, this, &HandOffGate::openPending);
}

bool HandOffGate::modalWindowOpen()
{
    return QApplication::activeModalWidget() != nullptr || QGuiApplication::modalWindow() != nullptr;
}

void HandOffGate::receive(const std::string& path)
{
    if (!modalWindowOpen()) {
        emit open(path);
        return;
    }
    pending_ = path;
    poll_.start();
}

void HandOffGate::openPending()
{
    if (!pending_ || modalWindowOpen())
        return;
    poll_.stop();
    const std::string path = std::move(*pending_);
    pending_.reset();
    emit open(path);
}

bool HandOffGate::eventFilter(QObject* watched, QEvent* event)
{
    // Sent when the last modal window that blocked the main window has closed.
    if (event->type() == QEvent::WindowUnblocked && pending_)
        QTimer::singleShot(0, this, &HandOffGate::openPending);
    return QObject::eventFilter(watched, event);
}

} // namespace loomscope
