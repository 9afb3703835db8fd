// The serial port: one device opened exclusively, raw 2400 baud 8N1 without
// flow control, with the read and write time-outs the protocol is timed by
// (50 ms between two bytes, 20 ms a byte plus 200 ms in all). Results follow
// one convention: a count of bytes, or a negative number for a failure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/lineerrormonitor.h"

namespace brevanto {

class TComm {
public:
    static constexpr int kByteTimeoutMs = 20;
    static constexpr int kConstantTimeoutMs = 200;
    static constexpr int kIntervalTimeoutMs = 50;
    // A one-byte read gives up after this much silence; it ends ReadStream.
    static constexpr int kStreamSilenceMs = kByteTimeoutMs + kConstantTimeoutMs;
    // ReadStream stops draining a line that never falls silent once it has
    // taken this many times its buffer: enough to tell an over-long reply,
    // and a babbling line holds the port for under two seconds at 2400 baud.
    static constexpr int kStreamDrainFactor = 2;

    static constexpr int kErrorOpenFailed = 1;
    static constexpr int kReadLineError = -3;
    static constexpr int kReadStateUnknown = -4;

    explicit TComm(
        std::unique_ptr<LineErrorMonitor> lineErrors = std::make_unique<IcountLineErrorMonitor>());
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    // True when the device can be opened now; a port held by another program
    // counts as absent.
    bool PortExists(const std::string& devicePath) const;
    // The numeric parameters are accepted and ignored: the line always runs
    // at 2400 baud 8N1. Failure leaves LastError() at 1, silently.
    void Open(const std::string& devicePath, int baud, int dataBits, int parity, int stopBits);
    // What went wrong configuring the line the last Open opened ("Errore
    // BuildCommDCB", "Errore setcommstate"): the port stays open, and the
    // caller tells the user once it holds no lock a message box could block.
    const std::vector<std::string>& ConfigurationFailures() const {
        return m_configurationFailures;
    }
    int LastError() const { return m_error; }
    // Why the device went away (the system's words, or "end of file"), once a
    // read or write has met a hang-up; empty while the line is there. A gone
    // device never answers again: its descriptor must be closed and the
    // device opened anew, perhaps under another name.
    const std::string& LostReason() const { return m_lostReason; }
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& DevicePath() const { return m_devicePath; }

    // Reads until the line has been silent for 220 ms. Stores at most
    // capacity bytes but keeps counting what arrives, up to twice capacity,
    // so a result above capacity tells an over-long reply. When a read fails the result is one
    // less than the count received (-1 when nothing came).
    int ReadStream(uint8_t* buffer, int capacity);
    // One bounded read of up to count bytes: returns what came before 50 ms
    // of silence after a byte or 20 x count + 200 ms in all, 0 for nothing,
    // -3 (reading nothing) when a line error was pending, -4 when the line
    // state cannot be queried, -1 when the read failed.
    int Read(uint8_t* buffer, int count);
    // Returns the bytes that went out before 20 x count + 200 ms, or -1.
    int Write(const uint8_t* buffer, int count);
    // Discards whatever is queued in both directions.
    void Purge();
    void Close();

private:
    int readAvailable(uint8_t* buffer, int room);
    void noteFailure(int error);
    int readBounded(uint8_t* buffer, int count, int totalMs, int intervalMs);
    void configureLine();

    std::unique_ptr<LineErrorMonitor> m_lineErrors;
    std::vector<std::string> m_configurationFailures;
    int m_fd = -1;
    int m_error = 0;
    std::string m_devicePath;
    std::string m_lostReason;
};

}  // namespace brevanto
