#include "midi/ReplyCatcher.h"

namespace zanq {

void ReplyCatcher::arm() {
    QMutexLocker lock(&mutex_);
    reply_.reset();
    catching_ = true;
}

void ReplyCatcher::add(std::string_view piece) {
    QMutexLocker lock(&mutex_);
    if (catching_ && reply_.add(piece))
        whole_.wakeAll();
}

std::string ReplyCatcher::await(QDeadlineTimer deadline) {
    QMutexLocker lock(&mutex_);
    while (!reply_.complete() && !woken_ && !deadline.hasExpired())
        whole_.wait(&mutex_, deadline);
    catching_ = false;
    return reply_.bytes();
}

void ReplyCatcher::wake() {
    QMutexLocker lock(&mutex_);
    woken_ = true;
    whole_.wakeAll();
}

}  // namespace zanq
