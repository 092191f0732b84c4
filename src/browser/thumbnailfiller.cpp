#include "thumbnailfiller.h"

#include "listformats.h"
#include "model/codepage.h"
#include "thumbnaildrawing.h"

#include <QMetaObject>
#include <cstring>

namespace loomscope {

namespace {

// Runs on a worker thread: everything it touches is its own.
DesignRow makeRow(const std::string& folder, const DesignEntry& entry, char separator)
{
    const std::string path = folder + entry.fileName;
    ListThumbnail t =
        makeListThumbnail(path, entry.sideFile.empty() ? std::string() : folder + entry.sideFile);
    QImage image(t.picture.width(), t.picture.height(), QImage::Format_RGB32);
    // The canvas is opaque 0xAARRGGBB: the layout of this format, row for row.
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), t.picture.data() + y * t.picture.width(),
                    static_cast<std::size_t>(t.picture.width()) * 4);
    return {entry,
            t.info,
            QString::fromStdString(pathDisplayText(listedName(entry))),
            QString::fromStdString(inchSizeText(t.info, separator)),
            QString::fromStdString(millimetreSizeText(t.info, separator)),
            DesignRow::packThumbnail(image),
            QString::fromStdString(t.error)};
}

} // namespace

ThumbnailFiller::ThumbnailFiller(QObject* parent) : QObject(parent) {}

ThumbnailFiller::~ThumbnailFiller()
{
    cancel();
    pool_.waitForDone();
}

void ThumbnailFiller::cancel()
{
    if (cancelled_)
        *cancelled_ = true;
    pool_.clear(); // designs not yet begun are never read
    ++generation_; // rows still on their way are dropped when they arrive
    waiting_.clear();
    running_ = false;
}

void ThumbnailFiller::start(const std::string& folder, const std::vector<DesignEntry>& designs,
                            char decimalSeparator)
{
    cancel();
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    waiting_.resize(designs.size());
    next_ = 0;
    stitches_ = 0;
    running_ = true;
    emit progress(0, static_cast<int>(designs.size()));
    if (designs.empty()) {
        running_ = false;
        emit finished(0);
        return;
    }
    const quint64 generation = generation_;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        pool_.start([this, generation, i, cancelled = cancelled_, folder, entry = designs[i],
                     decimalSeparator] {
            if (*cancelled)
                return;
            DesignRow row = makeRow(folder, entry, decimalSeparator);
            if (*cancelled)
                return;
            // The filler outlives every task (its destructor waits for them), so posting to it
            // is safe; the row is checked against the current filling when it arrives.
            QMetaObject::invokeMethod(
                this,
                [this, generation, i, row = std::move(row)]() mutable {
                    deliver(generation, i, std::move(row));
                },
                Qt::QueuedConnection);
        });
    }
}

void ThumbnailFiller::deliver(quint64 generation, std::size_t index, DesignRow row)
{
    if (generation != generation_ || index >= waiting_.size())
        return;
    waiting_[index] = std::move(row);
    std::vector<DesignRow> ready;
    while (next_ < waiting_.size() && waiting_[next_]) {
        stitches_ += waiting_[next_]->info.Fstitchcount;
        ready.push_back(std::move(*waiting_[next_]));
        waiting_[next_].reset();
        ++next_;
    }
    if (ready.empty())
        return;
    emit rowsReady(ready);
    // A slot may have started another filling or cancelled this one meanwhile.
    if (generation != generation_)
        return;
    emit progress(static_cast<int>(next_), static_cast<int>(waiting_.size()));
    if (next_ == waiting_.size()) {
        running_ = false;
        waiting_.clear();
        emit finished(stitches_);
    }
}

} // namespace loomscope
