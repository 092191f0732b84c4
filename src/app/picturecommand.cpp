#include "picturecommand.h"

#include "config/companyinfo.h"
#include "config/configstore.h"
#include "drawing/offscreengl.h"
#include "model/outputguard.h"
#include "render/exportlayout.h"
#include "session/mainstate.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "viewer/tloomscope.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

namespace loomscope {

PictureCommand::PictureCommand(Tloomscope& view, const MainState& state, const ConfigStore& config,
                               QAction& action, UserMessages& messages, QWidget* window)
    : QObject(window), view_(view), state_(state), config_(config), action_(action),
      messages_(messages), window_(window)
{
    connect(&watcher_, &QFutureWatcher<ExportResult>::finished, this,
            [this] { saved(watcher_.result()); });
}

PictureCommand::~PictureCommand()
{
    watcher_.waitForFinished();
}

void PictureCommand::run()
{
    QFileDialog dialog(window_);
    dialog.setObjectName(QStringLiteral("SavePictureDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr("JPEG Image File (*.jpg)"));
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    dialog.setDirectory(QFile::decodeName(state_.currentFolder().c_str()));
    dialog.selectFile(displayPath(state_.currentDesignName()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    start(pathBytes(dialog.selectedFiles().first()));
}

bool PictureCommand::start(const std::string& path)
{
    if (watcher_.isRunning())
        return false;
    // Never over what the picture is made from: the design, its side file, the settings.
    const ToolInputs inputs = designInputs(state_.currentDesignPath(), {config_.path()});
    if (const auto input = overwrittenInput(path, inputs)) {
        messages_.error(window_, QString::fromStdString(overwriteRefusal(path, *input)));
        return false;
    }
    // The picture says where it came from: the shop's details when they are set.
    const CompanyInfo shop = readcompanyinfo(config_).info;
    ExportJob job;
    job.designPath = view_.designPath();
    job.outputPath = path;
    job.look = view_.look();
    job.decimalSeparator = view_.decimalSeparator();
    job.credits = pictureCredits(shop.comname, shop.tel, shop.website);
    if (!OffscreenGl::eglAvailable()) {
        // Only a Qt offscreen surface: it has to be made on this thread, and then the view's
        // own context is made current again.
        const ExportResult result = exportPicture(job);
        view_.setopengl();
        saved(result);
        return true;
    }
    // A context of its own on a worker thread: the window goes on drawing and handling events
    // meanwhile, with no event loop nested inside this call.
    watcher_.setFuture(QtConcurrent::run([job] { return exportPicture(job); }));
    action_.setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    progress_ = new QProgressDialog(tr("正在生成高清仿真图，请稍候……"), QString(), 0, 0, window_);
    progress_->setObjectName(QStringLiteral("SavePictureProgress"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(0);
    progress_->setCancelButton(nullptr);
    progress_->show();
    return true;
}

void PictureCommand::saved(const ExportResult& result)
{
    if (progress_) {
        progress_->deleteLater();
        progress_ = nullptr;
        QApplication::restoreOverrideCursor();
    }
    action_.setEnabled(true);
    if (!result.ok)
        messages_.error(window_, result.error);
    emit finished(result.ok);
}

} // namespace loomscope
