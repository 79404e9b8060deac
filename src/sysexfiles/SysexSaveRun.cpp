#include "sysexfiles/SysexSaveRun.h"

#include <QThread>

namespace zanq {

SysexSaveRun::SysexSaveRun(std::vector<SaveFile> files, QObject* parent)
    : QObject(parent), files_(std::move(files)) {
    // The worker only reads files_ and writes the two result strings; both are read here
    // again only after the thread has finished.
    thread_ = QThread::create([this] {
        for (const SaveFile& file : files_) {
            reason_ = WriteSysexFile(file.path, file.bytes);
            if (!reason_.isEmpty()) {
                failedPath_ = file.path;
                return;
            }
        }
    });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, [this] { emit finished(failedPath_, reason_); });
}

SysexSaveRun::~SysexSaveRun() {
    thread_->wait();
}

void SysexSaveRun::start() {
    thread_->start();
}

bool SysexSaveRun::isRunning() const {
    return thread_->isRunning();
}

}  // namespace zanq
