#pragma once
// Writes the files of one save on a worker thread, one after the other, each closed before the
// next is opened, and reports back on the thread that started it. Writing a big library and
// waiting for the disk to confirm it takes longer than a window may stand still. The bytes
// were copied out of the stores before the run started, so nothing here touches them.

#include <QObject>
#include <QString>
#include <vector>

#include "sysexfiles/SysexSaver.h"

class QThread;

namespace zanq {

class SysexSaveRun : public QObject {
    Q_OBJECT
public:
    explicit SysexSaveRun(std::vector<SaveFile> files, QObject* parent = nullptr);
    // Waits for a write still under way: a file is never left half replaced.
    ~SysexSaveRun() override;

    void start();
    bool isRunning() const;

signals:
    // Every file written (failedPath empty), or the first that failed and why; the files
    // after it are not written.
    void finished(const QString& failedPath, const QString& reason);

private:
    std::vector<SaveFile> files_;
    QThread* thread_ = nullptr;
    QString failedPath_;
    QString reason_;
};

}  // namespace zanq
