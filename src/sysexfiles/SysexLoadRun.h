#pragma once
// One load of one or more .syx files, done a slice at a time on the event loop so that the
// window keeps answering while a big file loads: each slice reads chunks and hands their record
// candidates to the sink, at most kBatch at a time, for a few milliseconds and at most
// kSliceBytes read; then the run waits for the event loop before it goes on. The first slice
// runs at once and finishes a first file of one chunk, so such a file (a whole memory dump) has
// loaded when start() returns, and a file of more than kSliceBytes never has.
//
// The next slice is scheduled only once the signals of the last one have returned, so a
// message box shown from a signal pauses the run instead of letting it go on underneath.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "model/PatchRecord.h"

namespace zanq {

class SysexFileReader;

class SysexLoadRun : public QObject {
    Q_OBJECT
public:
    struct File {
        QByteArray nativePath;  // what is opened
        QString shownPath;      // what messages name
    };
    // The record candidates of one chunk, in file order; the sink keeps the valid ones.
    using Sink = std::function<void(std::vector<PatchRecord>& candidates)>;

    static constexpr int kSliceMs = 4;
    static constexpr qint64 kSliceBytes = 1024 * 1024;
    static constexpr std::size_t kBatch = 256;
    static constexpr int kProgressSteps = 1000;

    SysexLoadRun(std::size_t recordLength, Sink sink, std::vector<File> files,
                 QObject* parent = nullptr);
    ~SysexLoadRun() override;

    // Loads the first slice now, the rest from the event loop.
    void start();
    bool isRunning() const { return running_; }
    const File& file(int index) const { return files_.at(static_cast<std::size_t>(index)); }

signals:
    // Before file index is opened.
    void fileStarting(int index);
    // The file is open and its records are coming.
    void fileLoading(int index);
    // How far the current file is read, 0..kProgressSteps.
    void progressed(int step);
    // The file is done; error says why it could not be read, empty when it was.
    void fileEnded(int index, const QString& error);
    void finished();

private:
    void slice();
    // One step of the run: opens the next file, or reads a chunk of the open one when its
    // candidates are all handed on, and hands on the next batch. Returns the bytes read.
    qint64 step();
    void open();
    void applyBatch();
    void showProgress();
    void endFile(const QString& error);

    std::size_t recordLength_;
    Sink sink_;
    std::vector<File> files_;
    std::unique_ptr<SysexFileReader> reader_;
    std::vector<PatchRecord> candidates_;  // of the last chunk read
    std::size_t applied_ = 0;              // how many of them the sink has had
    std::vector<PatchRecord> batch_;
    std::size_t next_ = 0;  // the file under way
    int chunksRead_ = 0;    // of that file
    bool started_ = false;
    bool running_ = false;
    int lastStep_ = -1;
};

}  // namespace zanq
