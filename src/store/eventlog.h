// The program's running journal: WriteEvent stamps each message into the
// event list, and the day's list is kept in one text file per day under
// Log/LogEvent/<Y>/<M>/<D>/, or beside the program when that tree cannot be
// made.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/backgroundfilewriter.h"
#include "platform/bytesink.h"
#include "platform/clock.h"
#include "platform/datetimeformat.h"
#include "platform/eventsink.h"
#include "platform/prompts.h"
#include "store/eventlist.h"

namespace brevanto {

class EventLog final : public EventSink {
public:
    // Paths are taken relative to `root`, the program's working directory.
    EventLog(EventList& list, const Clock& clock, const DateTimeFormat& format, Prompts& prompts,
             std::filesystem::path root);

    // Appends "[<date time>] <message> ".
    void WriteEvent(std::string_view message) override;
    // Told every message written, on the writing thread, after the list has
    // it. Set once, before any thread but the main one writes.
    void setMessageListener(std::function<void(std::string_view)> listener) {
        m_messageListener = std::move(listener);
    }

    // Sets the current event file for today, creating the missing directory
    // levels; falls back to EmergencyNameEvent<D>-<M>-<Y>.txt in the root.
    void NameEventFile();
    // Replaces the current file with the whole list, one CR LF line each.
    // The list is kept whatever happens; false when nothing was saved.
    bool SaveEventLog();
    // The same through `writer`, when the list changed since the last save
    // or checkpoint. One failure is journaled, not one per checkpoint.
    void checkpoint(BackgroundFileWriter& writer);
    // Replaces the list with the current file's lines, if the file exists.
    bool LoadEventLog();

    // Empty until NameEventFile has run; relative to the root.
    const std::filesystem::path& currentPath() const { return m_currentPath; }

    static std::string eventFileName(const LocalDate& date);
    static std::string fallbackFileName(const LocalDate& date);
    static bool writeLines(const EventList::Lines& lines, ByteSink& sink);
    static EventList::Lines splitLines(std::string_view text);

private:
    EventList& m_list;
    const Clock& m_clock;
    const DateTimeFormat& m_format;
    Prompts& m_prompts;
    std::filesystem::path m_root;
    std::filesystem::path m_currentPath;
    std::optional<std::uint64_t> m_savedRevision;
    bool m_reportedCheckpointFailure = false;
    std::function<void(std::string_view)> m_messageListener;
};

}  // namespace brevanto
