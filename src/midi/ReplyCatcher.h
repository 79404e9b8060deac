#pragma once
// The one reply awaited at a time. The MIDI system's input thread adds what comes in; the
// MIDI thread waits until the reply is whole (its F7, or the 300-byte buffer full) or a
// deadline passes, whichever comes first. Bytes that come while nothing is awaited are lost.

#include <QDeadlineTimer>
#include <QMutex>
#include <QWaitCondition>
#include <string>
#include <string_view>

#include "midi/SysexAssembler.h"

namespace zanq {

class ReplyCatcher {
public:
    // Empties the reply and starts catching.
    void arm();
    // One incoming message or piece of one, from the input thread.
    void add(std::string_view piece);
    // Waits for the whole reply until the deadline, or until wake(); stops catching and
    // returns what came, whole or not.
    std::string await(QDeadlineTimer deadline);
    // Ends a wait at once and any later one too: the program is closing.
    void wake();

private:
    QMutex mutex_;
    QWaitCondition whole_;
    SysexAssembler reply_;
    bool catching_ = false;
    bool woken_ = false;
};

}  // namespace zanq
