#include "sysexfiles/SysexLoadRun.h"

#include <QElapsedTimer>
#include <QTimer>

#include "sysexfiles/SysexFileReader.h"

namespace zanq {

SysexLoadRun::SysexLoadRun(std::size_t recordLength, Sink sink, std::vector<File> files,
                           QObject* parent)
    : QObject(parent),
      recordLength_(recordLength),
      sink_(std::move(sink)),
      files_(std::move(files)) {}

SysexLoadRun::~SysexLoadRun() = default;

void SysexLoadRun::start() {
    if (running_)
        return;
    running_ = true;
    slice();
}

void SysexLoadRun::slice() {
    const bool first = !started_;
    started_ = true;
    QElapsedTimer spent;
    spent.start();
    qint64 bytes = 0;
    // The first slice always finishes a first file of one chunk, so such a file has loaded
    // when start() returns, however busy the machine is.
    const auto firstChunk = [this, first] {
        return first && next_ == 0 &&
               (!reader_ ||
                (reader_->size() <= qint64(SysexFileReader::kChunk) && chunksRead_ <= 1));
    };
    while (next_ < files_.size() &&
           (firstChunk() || (spent.elapsed() < kSliceMs && bytes < kSliceBytes)))
        bytes += step();
    if (next_ < files_.size()) {
        QTimer::singleShot(0, this, &SysexLoadRun::slice);
        return;
    }
    running_ = false;
    emit finished();
}

qint64 SysexLoadRun::step() {
    if (!reader_) {
        open();
        return 0;
    }
    qint64 bytes = 0;
    if (applied_ == candidates_.size() && !reader_->atEnd()) {
        candidates_.clear();
        applied_ = 0;
        const qint64 before = reader_->position();
        reader_->readSome(SysexFileReader::kChunk,
                          [this](std::string_view record) { candidates_.emplace_back(record); });
        ++chunksRead_;
        bytes = reader_->position() - before;
        showProgress();
    }
    applyBatch();
    if (reader_->atEnd() && applied_ == candidates_.size())
        endFile(reader_->error());
    return bytes;
}

void SysexLoadRun::open() {
    const int index = static_cast<int>(next_);
    emit fileStarting(index);
    reader_ = std::make_unique<SysexFileReader>(recordLength_);
    if (!reader_->open(files_[next_].nativePath)) {
        endFile(reader_->error());
        return;
    }
    lastStep_ = -1;
    chunksRead_ = 0;
    emit fileLoading(index);
}

void SysexLoadRun::applyBatch() {
    const std::size_t end = std::min(candidates_.size(), applied_ + kBatch);
    if (applied_ == end)
        return;
    batch_.assign(std::make_move_iterator(candidates_.begin() + static_cast<long>(applied_)),
                  std::make_move_iterator(candidates_.begin() + static_cast<long>(end)));
    applied_ = end;
    sink_(batch_);
}

void SysexLoadRun::showProgress() {
    const qint64 size = reader_->size();
    const int now = reader_->atEnd() || size <= 0
                        ? kProgressSteps
                        : static_cast<int>(std::min(reader_->position() * kProgressSteps / size,
                                                    qint64(kProgressSteps)));
    if (now != lastStep_) {
        lastStep_ = now;
        emit progressed(now);
    }
}

void SysexLoadRun::endFile(const QString& error) {
    const int index = static_cast<int>(next_);
    reader_.reset();
    candidates_.clear();
    applied_ = 0;
    ++next_;
    emit fileEnded(index, error);
}

}  // namespace zanq
