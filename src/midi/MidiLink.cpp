#include "midi/MidiLink.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <mutex>

#include "midi/ReplyCatcher.h"

namespace zanq {

// What the window's thread shares with the MIDI thread and the MIDI system's input thread.
struct MidiLink::Shared {
    std::mutex mutex;
    MidiLink* link = nullptr;  // null once the link is gone: nothing more is handed to it
    MidiPorts* ports = nullptr;
    QObject* worker = nullptr;  // lives on the MIDI thread
    ReplyCatcher reply;

    // Hands a result to the link on the window's thread, if the link is still there.
    void post(Delivery delivery) {
        std::lock_guard lock(mutex);
        if (MidiLink* target = link)
            QMetaObject::invokeMethod(
                target,
                [target, delivery = std::move(delivery)]() mutable {
                    target->deliver(std::move(delivery));
                },
                Qt::QueuedConnection);
    }
    // Runs work on the MIDI thread, after the work asked for before.
    template <typename Work>
    void run(Work work) {
        QMetaObject::invokeMethod(worker, std::move(work), Qt::QueuedConnection);
    }
};

struct MidiLink::Exchanges {
    quint64 ticket = 0;
    std::vector<std::string> requests;
    RequestPolicy policy;
    std::string input;
    std::string output;
    std::size_t next = 0;  // used on the MIDI thread only, like silent
    int silent = 0;        // requests in a row that brought back not a byte
    std::atomic<bool> stop{false};
};

namespace {

QString OperationName(MidiStep step) {
    switch (step) {
        case MidiStep::OutputOpen:
            return QStringLiteral("MIDI OUT OPEN");
        case MidiStep::OutputSend:
            return QStringLiteral("MIDI OUT LONG MESSAGE");
        case MidiStep::InputOpen:
            return QStringLiteral("MIDI IN OPEN");
        case MidiStep::InputClose:
            return QStringLiteral("MIDI IN CLOSE");
    }
    return {};
}

SendOutcome OutcomeOf(const MidiResult& sent) {
    if (!sent)
        return SendOutcome::Sent;
    return sent->step == MidiStep::OutputOpen ? SendOutcome::PortUnavailable : SendOutcome::Failed;
}

// Threads left behind at shut-down, stuck in the MIDI system. They are never deleted (a running
// QThread cannot be), and stay reachable so that no leak checker counts them.
struct Abandoned {
    QThread* thread;
    QObject* worker;
    MidiPorts* ports;
};
std::vector<Abandoned>* abandoned = nullptr;

}  // namespace

MidiLink::MidiLink(std::unique_ptr<MidiPorts> ports, QObject* parent)
    : QObject(parent), shared_(std::make_shared<Shared>()), ports_(std::move(ports)) {
    shared_->link = this;
    shared_->ports = ports_.get();
    // Runs on the MIDI system's input thread.
    ports_->setReceiver([shared = shared_](std::string_view piece) { shared->reply.add(piece); });
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("MIDI"));
    shared_->worker = new QObject;
    shared_->worker->moveToThread(thread_);
    thread_->start();
}

MidiLink::~MidiLink() {
    shutdown();
}

void MidiLink::deliver(Delivery delivery) {
    inbox_.push_back(std::move(delivery));
    if (delivering_)
        return;  // a handler further up is still busy (a message box is open): it waits
    delivering_ = true;
    while (!inbox_.empty()) {
        Delivery next = std::move(inbox_.front());
        inbox_.pop_front();
        next(*this);
    }
    delivering_ = false;
}

void MidiLink::report(const MidiResult& result) {
    if (result)
        emit failed(OperationName(result->step), QString::fromStdString(result->text));
}

bool MidiLink::listPorts() {
    if (listing_ || !thread_)
        return false;
    listing_ = true;
    shared_->run([shared = shared_] {
        auto outputs = shared->ports->outputNames();
        auto inputs = shared->ports->inputNames();
        shared->post([outputs = std::move(outputs), inputs = std::move(inputs)](MidiLink& link) {
            link.listing_ = false;
            emit link.portsListed(outputs, inputs);
        });
    });
    return true;
}

quint64 MidiLink::send(std::string message) {
    const quint64 ticket = nextTicket_++;
    if (!thread_)
        return ticket;
    shared_->run([shared = shared_, port = outputPort_, message = std::move(message), ticket] {
        MidiResult result = shared->ports->send(port, message);
        shared->post([ticket, result = std::move(result)](MidiLink& link) {
            link.report(result);
            emit link.sendFinished(ticket, OutcomeOf(result));
        });
    });
    return ticket;
}

quint64 MidiLink::request(std::vector<std::string> requests, RequestPolicy policy) {
    if (requesting_ || !thread_)
        return 0;
    auto exchanges = std::make_shared<Exchanges>();
    exchanges->ticket = nextTicket_++;
    exchanges->requests = std::move(requests);
    exchanges->policy = std::move(policy);
    exchanges->input = inputPort_;
    exchanges->output = outputPort_;
    exchanges_ = exchanges;
    requesting_ = true;
    shared_->run([shared = shared_, exchanges] { Exchange(shared, exchanges); });
    return exchanges->ticket;
}

void MidiLink::Exchange(const std::shared_ptr<Shared>& shared,
                        const std::shared_ptr<Exchanges>& exchanges) {
    const quint64 ticket = exchanges->ticket;
    if (exchanges->stop || exchanges->next >= exchanges->requests.size()) {
        shared->post([ticket](MidiLink& link) {
            if (link.exchanges_ && link.exchanges_->ticket == ticket) {
                link.exchanges_.reset();
                link.requesting_ = false;
            }
            emit link.requestsEnded(ticket);
        });
        return;
    }
    const int index = static_cast<int>(exchanges->next++);
    shared->post([ticket, index](MidiLink& link) { emit link.requestStarted(ticket, index); });
    const RequestPolicy& policy = exchanges->policy;
    std::string reply;
    bool stepFailed = false;
    for (int attempt = 1;; ++attempt) {
        shared->reply.arm();
        MidiResult opened = shared->ports->openInput(exchanges->input);
        MidiResult sent = shared->ports->send(exchanges->output, exchanges->requests[index]);
        reply = shared->reply.await(QDeadlineTimer(kReplyWaitMs, Qt::PreciseTimer));
        MidiResult closed = shared->ports->closeInput();
        stepFailed = opened || sent || closed;
        if (stepFailed)
            shared->post([opened = std::move(opened), sent = std::move(sent),
                          closed = std::move(closed)](MidiLink& link) {
                // One message per failed step, in the order the steps were taken.
                for (const MidiResult* result : {&opened, &sent, &closed})
                    link.report(*result);
            });
        // Checked first: once the link is closing, the judge may be gone.
        if (exchanges->stop || stepFailed || attempt >= policy.attempts)
            break;
        if (policy.accepts ? policy.accepts(reply) : !reply.empty())
            break;
        shared->post([ticket, index](MidiLink& link) { emit link.requestRetried(ticket, index); });
    }
    exchanges->silent = reply.empty() ? exchanges->silent + 1 : 0;
    // The synth is not answering; or it cannot be reached, and the next request would fail
    // the same way.
    if (exchanges->silent >= std::max(1, policy.silentLimit) || (reply.empty() && stepFailed))
        exchanges->stop = true;
    shared->post(
        [ticket, index, reply = QByteArray(reply.data(), static_cast<qsizetype>(reply.size()))](
            MidiLink& link) { emit link.replyReceived(ticket, index, reply); });
    shared->run([shared, exchanges] { Exchange(shared, exchanges); });
}

void MidiLink::stopRequests() {
    if (exchanges_)
        exchanges_->stop = true;
}

void MidiLink::shutdown() {
    if (!thread_)
        return;
    stopRequests();
    shared_->reply.wake();
    {
        std::lock_guard lock(shared_->mutex);
        shared_->link = nullptr;
    }
    // Queued behind the work already asked for.
    shared_->run([thread = thread_] { thread->quit(); });
    if (thread_->wait(QDeadlineTimer(kShutdownWaitMs))) {
        delete shared_->worker;
        shared_->worker = nullptr;
        delete thread_;
    } else {
        if (!abandoned)
            abandoned = new std::vector<Abandoned>;
        abandoned->push_back({thread_, shared_->worker, ports_.release()});
    }
    thread_ = nullptr;
}

}  // namespace zanq
