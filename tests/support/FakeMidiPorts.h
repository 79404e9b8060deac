#pragma once
// An in-process stand-in for the MIDI system. The test sets the port lists, makes steps fail,
// and plays the synth: onSend sees every message that goes out and may answer through
// deliver(), as the MIDI system's input thread would. Like a shared MIDI system's connection,
// an input port once opened stays connected: closing it only ends the capture. The link calls
// in from its MIDI thread while the test looks on from its own, so everything is behind one
// mutex. hang() makes every port listing block until release(): a MIDI system that does not
// answer.

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "midi/MidiPorts.h"

namespace zanq::test {

class FakeMidiPorts : public MidiPorts {
public:
    struct Sent {
        std::string port;  // as the port list names it
        std::string bytes;
    };

    // Called on the MIDI thread for every message that went out.
    std::function<void(std::string_view message)> onSend;

    void setPorts(std::vector<std::string> outputs, std::vector<std::string> inputs) {
        std::lock_guard lock(mutex_);
        outputs_ = std::move(outputs);
        inputs_ = std::move(inputs);
    }
    void failStep(MidiStep step, std::string text) {
        std::lock_guard lock(mutex_);
        failing_[step] = std::move(text);
    }
    void healStep(MidiStep step) {
        std::lock_guard lock(mutex_);
        failing_.erase(step);
    }
    // Bytes arriving at the input port; lost until it has been opened.
    void deliver(std::string_view bytes) {
        Receiver receiver;
        {
            std::lock_guard lock(mutex_);
            if (!inputConnected_)
                return;
            receiver = receiver_;
        }
        receiver(bytes);
    }
    std::vector<Sent> sent() const {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    int listings() const {
        std::lock_guard lock(mutex_);
        return listings_;
    }
    void hang() {
        std::lock_guard lock(mutex_);
        hanging_ = true;
    }
    void release() {
        std::lock_guard lock(mutex_);
        hanging_ = false;
        released_.notify_all();
    }

    void setReceiver(Receiver receiver) override { receiver_ = std::move(receiver); }
    std::vector<std::string> outputNames() override {
        std::unique_lock lock(mutex_);
        ++listings_;
        released_.wait(lock, [this] { return !hanging_; });
        return outputs_;
    }
    std::vector<std::string> inputNames() override {
        std::lock_guard lock(mutex_);
        return inputs_;
    }
    MidiResult send(const std::string& port, std::string_view message) override {
        {
            std::lock_guard lock(mutex_);
            const std::string name = resolve(outputs_, port);
            if (name.empty())
                return MidiError{MidiStep::OutputOpen, "no port " + port};
            if (MidiResult failure = failure_(MidiStep::OutputOpen))
                return failure;
            if (MidiResult failure = failure_(MidiStep::OutputSend))
                return failure;
            sent_.push_back({name, std::string(message)});
        }
        if (onSend)
            onSend(message);
        return {};
    }
    MidiResult openInput(const std::string& port) override {
        std::lock_guard lock(mutex_);
        if (resolve(inputs_, port).empty())
            return MidiError{MidiStep::InputOpen, "no port " + port};
        if (MidiResult failure = failure_(MidiStep::InputOpen)) {
            inputConnected_ = false;
            return failure;
        }
        inputConnected_ = true;
        return {};
    }
    MidiResult closeInput() override {
        std::lock_guard lock(mutex_);
        return failure_(MidiStep::InputClose);
    }

private:
    // The listed port of that name (empty: the first), or "" when there is none.
    static std::string resolve(const std::vector<std::string>& ports, const std::string& port) {
        if (port.empty())
            return ports.empty() ? std::string() : ports.front();
        for (const auto& p : ports)
            if (p == port)
                return p;
        return {};
    }
    MidiResult failure_(MidiStep step) const {
        const auto it = failing_.find(step);
        return it == failing_.end() ? MidiResult() : MidiError{step, it->second};
    }

    mutable std::mutex mutex_;
    std::condition_variable released_;
    Receiver receiver_;
    std::vector<std::string> outputs_;
    std::vector<std::string> inputs_;
    std::map<MidiStep, std::string> failing_;
    std::vector<Sent> sent_;
    bool inputConnected_ = false;
    bool hanging_ = false;
    int listings_ = 0;
};

}  // namespace zanq::test
