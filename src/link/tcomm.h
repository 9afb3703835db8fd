// The serial port: one device opened exclusively, raw 2400 baud 8N1 without
// flow control, with the read and write time-outs the protocol is timed by
// (50 ms between two bytes, 20 ms a byte plus 200 ms in all). Results follow
// one convention: a count of bytes, or a negative number for a failure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/lineerrormonitor.h"
#include "platform/prompts.h"

namespace brevanto {

class TComm {
public:
    static constexpr int kByteTimeoutMs = 20;
    static constexpr int kConstantTimeoutMs = 200;
    static constexpr int kIntervalTimeoutMs = 50;
    // A one-byte read gives up after this much silence; it ends ReadStream.
    static constexpr int kStreamSilenceMs = kByteTimeoutMs + kConstantTimeoutMs;
    // ReadStream stops draining a line that never falls silent after this
    // many bytes, so a babbling line cannot hold the reader for ever.
    static constexpr int kStreamDrainLimit = 4096;

    static constexpr int kErrorOpenFailed = 1;
    static constexpr int kReadLineError = -3;
    static constexpr int kReadStateUnknown = -4;

    // Configuration failures after a successful open are told through prompts.
    explicit TComm(Prompts& prompts, std::unique_ptr<LineErrorMonitor> lineErrors =
                                         std::make_unique<IcountLineErrorMonitor>());
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    // True when the device can be opened now; a port held by another program
    // counts as absent.
    bool PortExists(const std::string& devicePath) const;
    // The numeric parameters are accepted and ignored: the line always runs
    // at 2400 baud 8N1. Failure leaves LastError() at 1, silently.
    void Open(const std::string& devicePath, int baud, int dataBits, int parity, int stopBits);
    int LastError() const { return m_error; }
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& DevicePath() const { return m_devicePath; }

    // Reads until the line has been silent for 220 ms. Stores at most
    // capacity bytes but keeps counting what arrives, so a result above
    // capacity tells an over-long reply. When a read fails the result is one
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
    int readBounded(uint8_t* buffer, int count, int totalMs, int intervalMs);
    void configureLine();

    Prompts& m_prompts;
    std::unique_ptr<LineErrorMonitor> m_lineErrors;
    int m_fd = -1;
    int m_error = 0;
    std::string m_devicePath;
};

}  // namespace brevanto
