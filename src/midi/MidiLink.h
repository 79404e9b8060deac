#pragma once
// The program's one road to the synth: a QObject on the window's thread over the MIDI ports,
// which it drives from a thread of its own. Nothing here makes the window wait: each call
// returns at once and its result comes back as a signal, so a MIDI system that hangs (a JACK
// server stopped or restarting) never freezes a window. Ports are named, not numbered, and
// looked up when they are used, so a port list that changed since detection never sends to the
// wrong port.
//
// Request-and-reply exchanges run on the MIDI thread, one after another: each sends its
// request and ends when the reply's F7 arrives or kReplyWaitMs after the request went, and the
// next request goes out at once, within the same cycle of the MIDI system where it can.
//
// Failures are reported through failed(), with the name of the step; windows show them. The
// link's signals come one at a time: while a window handles one (a message box is open), the
// next waits for it.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiPorts.h"

class QThread;

namespace zanq {

// How a series of request-and-reply exchanges treats a reply that is missing or no use.
struct RequestPolicy {
    // How often a request goes out before its reply counts as missing: a request whose reply
    // is not accepted goes once more at once, unless a step of the exchange failed (the user
    // has been told; the same step would fail again).
    int attempts = 1;
    // The series ends after this many requests in a row brought back not a single byte.
    int silentLimit = 1;
    // Judges a reply on the MIDI thread (so it must not touch the window's objects); none:
    // any byte will do.
    std::function<bool(std::string_view reply)> accepts;
};

enum class SendOutcome {
    Sent,
    PortUnavailable,  // the output port did not open: the next message would not go either
    Failed,
};

class MidiLink : public QObject {
    Q_OBJECT
public:
    // The longest a reply is awaited after its request went out.
    static constexpr int kReplyWaitMs = 200;
    // How long closing waits for a MIDI thread stuck in the MIDI system before leaving it be.
    static constexpr int kShutdownWaitMs = 1000;

    explicit MidiLink(std::unique_ptr<MidiPorts> ports, QObject* parent = nullptr);
    ~MidiLink() override;

    // The synth's ports, as detection last found them; empty until one matched, and then the
    // first port listed is used.
    const std::string& outputPort() const { return outputPort_; }
    const std::string& inputPort() const { return inputPort_; }
    void setOutputPort(std::string name) { outputPort_ = std::move(name); }
    void setInputPort(std::string name) { inputPort_ = std::move(name); }

    // Asks for the port lists; portsListed() follows. While an earlier listing has not come
    // back (a MIDI system that hangs), nothing is asked and the answer is false.
    bool listPorts();
    bool listing() const { return listing_; }

    // Sends one complete message, as it stands, to the output port; sendFinished() follows
    // with the number returned here.
    quint64 send(std::string message);

    // Exchanges each request for its reply, in order: the SysEx bytes that come in at the
    // input port from the moment a request is about to go until its reply is whole or has been
    // awaited for kReplyWaitMs, each sent again as the policy says. Ends after the last request,
    // after the policy's run of requests that brought back not a single byte, after a request
    // that brought back nothing because a step failed, or after stopRequests(). requestStarted()
    // and replyReceived() (the last attempt's reply) follow for each, requestRetried() for each
    // second attempt, requestsEnded() at the end, all with the number returned here.
    quint64 request(std::vector<std::string> requests, RequestPolicy policy = {});
    // Ends the exchanges after the one under way.
    void stopRequests();
    bool requesting() const { return requesting_; }

    // Ends the MIDI thread after the work already asked for. A thread stuck in the MIDI system
    // is left behind after kShutdownWaitMs instead of being waited for. Called on destruction.
    void shutdown();

signals:
    void portsListed(const std::vector<std::string>& outputs,
                     const std::vector<std::string>& inputs);
    void sendFinished(quint64 ticket, zanq::SendOutcome outcome);
    void requestStarted(quint64 ticket, int index);
    // The request went once more: the reply to the attempt before was missing or no use.
    void requestRetried(quint64 ticket, int index);
    // reply: whole, cut at 300 bytes, unfinished, or empty when nothing came.
    void replyReceived(quint64 ticket, int index, const QByteArray& reply);
    void requestsEnded(quint64 ticket);
    // operation names the failed step the way the user is told it ("MIDI OUT OPEN").
    void failed(const QString& operation, const QString& text);

private:
    struct Shared;
    struct Exchanges;
    using Delivery = std::function<void(MidiLink&)>;

    // Runs work on the MIDI thread.
    template <typename Work>
    void onMidiThread(Work work);
    // The exchange at exchanges' next request; queues the one after it.
    static void Exchange(const std::shared_ptr<Shared>& shared,
                         const std::shared_ptr<Exchanges>& exchanges);
    // Hands results over one at a time (see the class comment).
    void deliver(Delivery delivery);
    void report(const MidiResult& result);

    std::shared_ptr<Shared> shared_;
    std::unique_ptr<MidiPorts> ports_;
    QThread* thread_ = nullptr;
    std::shared_ptr<Exchanges> exchanges_;  // those under way, if any
    std::deque<Delivery> inbox_;
    std::string outputPort_;
    std::string inputPort_;
    quint64 nextTicket_ = 1;
    bool listing_ = false;
    bool requesting_ = false;
    bool delivering_ = false;
};

}  // namespace zanq
