#pragma once
// Reads one .syx file a chunk at a time and hands on every record candidate in it (see
// SysexSplitter). The file is opened so that nothing can make the program wait for it: without
// blocking, and then refused unless the open descriptor is a regular file, so a pipe, a device
// or a socket that took the place of a listed file is reported like an unreadable file.
//
// Paths are the file system's own bytes: a name that is not valid UTF-8 still opens.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

#include "sysexfiles/SysexSplitter.h"

namespace zanq {

class SysexFileReader {
public:
    using Candidate = std::function<void(std::string_view record)>;
    // A whole dump of the synth's memory (1024 records, 298 KB) fits in one chunk.
    static constexpr std::size_t kChunk = 512 * 1024;

    explicit SysexFileReader(std::size_t recordLength);
    ~SysexFileReader();
    SysexFileReader(const SysexFileReader&) = delete;
    SysexFileReader& operator=(const SysexFileReader&) = delete;

    // False, with error() saying why, when the file cannot be opened or is not a regular file.
    bool open(const QByteArray& nativePath);
    // Reads at least one chunk (fewer bytes at the end of the file), at most about maxBytes,
    // calling candidate for each record that the bytes read complete. Once the size the file
    // had when it was opened is read, it also finds out whether the file has ended; at the end
    // the final stretch is looked at and the file is closed. False on a read error (the file
    // is then closed too, error() says why).
    bool readSome(std::size_t maxBytes, const Candidate& candidate);
    bool isOpen() const { return fd_ >= 0; }
    bool atEnd() const { return done_; }

    qint64 size() const { return size_; }
    qint64 position() const { return position_; }
    // Pieces cut so far (see SysexSplitter::pieces).
    std::size_t pieces() const { return splitter_.pieces(); }
    bool endedUnclosed() const { return splitter_.endedUnclosed(); }
    QString error() const { return error_; }

private:
    void close();
    bool fail(int errorCode);

    SysexSplitter splitter_;
    std::unique_ptr<char[]> buffer_;
    int fd_ = -1;
    bool done_ = false;
    qint64 size_ = 0;
    qint64 position_ = 0;
    QString error_;
};

}  // namespace zanq
