#include "sysexfiles/SysexFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>

namespace zanq {

SysexFileReader::SysexFileReader(std::size_t recordLength)
    : splitter_(recordLength), buffer_(std::make_unique<char[]>(kChunk)) {}

SysexFileReader::~SysexFileReader() {
    close();
}

bool SysexFileReader::open(const QByteArray& nativePath) {
    close();
    done_ = false;
    position_ = 0;
    size_ = 0;
    error_.clear();
    // O_NONBLOCK: opening a pipe that nobody writes to would otherwise wait for a writer.
    fd_ = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0)
        return fail(errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return fail(errno);
    if (!S_ISREG(info.st_mode)) {
        close();
        error_ = QCoreApplication::translate("SysexFileReader", "Not a regular file");
        return false;
    }
    size_ = static_cast<qint64>(info.st_size);
    return true;
}

bool SysexFileReader::readSome(std::size_t maxBytes, const Candidate& candidate) {
    std::size_t taken = 0;
    bool endProbed = false;
    while (fd_ >= 0) {
        if (taken >= maxBytes) {
            // One more read tells whether a file read up to its size has ended; a file that
            // keeps growing is read on at the next call.
            if (position_ < size_ || endProbed)
                return true;
            endProbed = true;
        }
        const ssize_t got = ::read(fd_, buffer_.get(), kChunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (got == 0) {
            splitter_.finish(candidate);
            close();
            done_ = true;
            return true;
        }
        position_ += got;
        taken += static_cast<std::size_t>(got);
        splitter_.feed(std::string_view(buffer_.get(), static_cast<std::size_t>(got)), candidate);
    }
    return error_.isEmpty();
}

void SysexFileReader::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool SysexFileReader::fail(int errorCode) {
    close();
    done_ = true;
    error_ = qt_error_string(errorCode);
    return false;
}

}  // namespace zanq
