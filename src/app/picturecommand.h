#pragma once

#include <QObject>
#include <QString>

class QAction;
class QProgressDialog;
class QWidget;

namespace loomscope {

class MainState;
class Tloomscope;
class UserMessages;
struct ExportResult;

// The picture command: asks where to save the high-resolution picture of the shown design
// (proposing the design's name in its folder), has the view make it in the background with
// the shop's details as its credit lines, shows that it is busy meanwhile (the command's action
// disabled, a busy cursor and note), and reports a failure.
class PictureCommand : public QObject {
    Q_OBJECT
public:
    PictureCommand(Tloomscope& view, const MainState& state, const QString& programHome,
                   QAction& action, UserMessages& messages, QWidget* window);

    // The save dialog, then start().
    void run();
    // Starts the picture at `path`; false when one is still being made.
    bool start(const std::string& path);

signals:
    // The picture asked for is written, or it failed (and that was reported).
    void finished(bool ok);

private:
    void saved(const ExportResult& result);

    Tloomscope& view_;
    const MainState& state_;
    QString programHome_;
    QAction& action_;
    UserMessages& messages_;
    QWidget* window_;
    QProgressDialog* progress_ = nullptr;
};

} // namespace loomscope
