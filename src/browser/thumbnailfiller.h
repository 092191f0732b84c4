#pragma once

#include "designlistmodel.h"
#include "model/folderlist.h"

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// Makes the rows of the browser's list on worker threads: each design is read, its side file
// applied and its thumbnail drawn away from the window, and the rows come back on the window's
// thread in list order, as many at a time as are ready. Starting again or cancelling drops the
// filling under way: its queued designs are never read and rows it has still in flight are
// thrown away, so no row of an earlier folder ever reaches a later list. Nothing is kept
// between fillings.
class ThumbnailFiller : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailFiller(QObject* parent = nullptr);
    // Waits for the design each worker is reading, then returns.
    ~ThumbnailFiller() override;

    // The rows of `designs` in `folder` (ending in '/'), the sizes written with the decimal
    // separator given.
    void start(const std::string& folder, const std::vector<DesignEntry>& designs,
               char decimalSeparator);
    void cancel();
    bool isRunning() const { return running_; }
    // At most this many designs are read at once (the machine's cores by default).
    void setMaxThreads(int threads) { pool_.setMaxThreadCount(threads); }

signals:
    // The next rows in list order.
    void rowsReady(std::vector<DesignRow>& rows);
    void progress(int done, int total);
    // Every row has been delivered; the stitch counts of all of them added up.
    void finished(qint64 stitches);

private:
    void deliver(quint64 generation, std::size_t index, DesignRow row);

    QThreadPool pool_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    quint64 generation_ = 0;
    std::vector<std::optional<DesignRow>> waiting_; // arrived ahead of an earlier row
    std::size_t next_ = 0;
    qint64 stitches_ = 0;
    bool running_ = false;
};

} // namespace loomscope
