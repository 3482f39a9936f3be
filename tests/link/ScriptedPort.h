#pragma once

#include <algorithm>
#include <cerrno>
#include <deque>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "framework/Settings.h"
#include "link/Frame.h"
#include "link/SerialPort.h"
#include "link/SharedPort.h"
#include "tests/RecordingPrompts.h"

using Bytes = std::vector<uint8_t>;

// Results print as the numbers of the link's documentation.
inline void PrintTo(PacketResult result, std::ostream* out)
{
    *out << static_cast<int>(result);
}

inline Bytes FrameBytes(uint8_t id, Bytes data)
{
    uint8_t out[MAX_FRAME_BYTES];
    int n = EncodeFrame(id, data.data(), static_cast<uint8_t>(data.size()), out);
    return Bytes(out, out + n);
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Ack(uint8_t id)
{
    return FrameBytes(6, {id, 0});
}
inline Bytes Nak(uint8_t id)
{
    return FrameBytes(21, {id, 0});
}

// What a scripted receiver says and what the host wrote to it. Each reply arrives in one
// piece and is followed by a pause, as a receiver waits for the host after every frame;
// an empty reply is a silence of its own (one read that gets nothing).
// A clock of its own makes time-outs pass at once.
struct PortScript {
    std::deque<Bytes> replies;
    Bytes written;
    std::vector<Bytes> writes;
    int failWriteAt = -1;  // index of the write that fails with `failErrno`
    int failReadAt = -1;   // index of the read call that fails with `failErrno`
    int failErrno = EIO;
    int reads = 0;
    bool replyEnded = false;  // a read took the end of a reply, and the host has not written since
    std::chrono::steady_clock::time_point now{};
    int opens = 0;
    bool failOpen = false;
    FlowControlFlags flowControl;
    int timeoutResult = 0;

    void Reply(const Bytes& bytes) { replies.push_back(bytes); }
};

class ScriptedPort : public SerialPort {
public:
    explicit ScriptedPort(std::shared_ptr<PortScript> script) : s_(std::move(script)) {}

    int Write(const uint8_t* data, int size) override
    {
        if (static_cast<int>(s_->writes.size()) == s_->failWriteAt) {
            s_->writes.emplace_back();
            errno = s_->failErrno;
            return -1;
        }
        s_->writes.emplace_back(data, data + size);
        s_->written.insert(s_->written.end(), data, data + size);
        s_->replyEnded = false;
        return size;
    }

    int ReadAvailable(uint8_t* buffer, int size, int timeoutMs) override
    {
        if (timeoutMs == 0) {
            return 0;  // replies arrive only after the host has asked
        }
        if (s_->reads++ == s_->failReadAt) {
            errno = s_->failErrno;
            return -1;
        }
        if (s_->replyEnded && timeoutMs <= QUIET_LINE_MS) {
            // After a reply the receiver is quiet until the host writes again: the pause ends
            // every read that waits for the line to fall quiet.
            s_->now += std::chrono::milliseconds(timeoutMs);
            return 0;
        }
        s_->replyEnded = false;
        if (s_->replies.empty() || s_->replies.front().empty()) {
            if (!s_->replies.empty()) {
                s_->replies.pop_front();  // an explicit silence
            }
            s_->now += std::chrono::milliseconds(timeoutMs);
            return 0;
        }
        Bytes& next = s_->replies.front();
        int n = std::min<int>(size, static_cast<int>(next.size()));
        std::copy(next.begin(), next.begin() + n, buffer);
        next.erase(next.begin(), next.begin() + n);
        if (next.empty()) {
            s_->replies.pop_front();
            s_->replyEnded = true;
        }
        s_->now += std::chrono::milliseconds(1);
        return n;
    }

    std::chrono::steady_clock::time_point Now() const override { return s_->now; }

    bool ReadFlowControl(FlowControlFlags& found) override
    {
        found = s_->flowControl;
        return true;
    }
    int ApplyReadTimeouts() override { return s_->timeoutResult; }

private:
    std::shared_ptr<PortScript> s_;
};

// Installs the recorder, a settings store and the scripted port for one test, and puts
// everything back afterwards. The port name asked for is kept in `openedNames`.
class ScriptedLinkEnvironment {
public:
    std::shared_ptr<PortScript> script = std::make_shared<PortScript>();
    RecordingPrompts prompts;
    MemorySettings settings;
    std::vector<std::string> openedNames;

    ScriptedLinkEnvironment()
    {
        previousPrompts_ = Prompts::SetCurrent(&prompts);
        previousSettings_ = Settings::SetCurrent(&settings);
        SharedPort::Instance().SetOpener([this](const std::string& name, int& error) {
            openedNames.push_back(name);
            ++script->opens;
            if (script->failOpen) {
                error = ENOENT;
                return std::unique_ptr<SerialPort>();
            }
            return std::unique_ptr<SerialPort>(std::make_unique<ScriptedPort>(script));
        });
    }
    ~ScriptedLinkEnvironment()
    {
        SharedPort::Instance().SetOpener(nullptr);
        Prompts::SetCurrent(previousPrompts_);
        Settings::SetCurrent(previousSettings_);
    }

    // A receiver that is quiet while the port is opened, then answers the product exchange.
    void ScriptOpening()
    {
        script->Reply({});
        ScriptProductExchange();
    }

    // The receiver's side of the product exchange that every link runs.
    void ScriptProductExchange(const std::string& description = "GPS 12 Software Version 4.60")
    {
        script->Reply(Ack(254));
        Bytes data = {77, 0, 0x68, 0x01};
        data.insert(data.end(), description.begin(), description.end());
        data.push_back(0);
        script->Reply(FrameBytes(255, data));
    }

    // Forgets what the host wrote so far.
    void ClearWritten()
    {
        script->written.clear();
        script->writes.clear();
    }

private:
    Prompts* previousPrompts_;
    Settings* previousSettings_;
};
