#include "platform/backgroundfilewriter.h"

namespace brevanto {

BackgroundFileWriter::BackgroundFileWriter(MainThreadInvoker& mainThread)
    : m_mainThread(mainThread) {}
BackgroundFileWriter::~BackgroundFileWriter() = default;
void BackgroundFileWriter::replace(std::filesystem::path, std::string, Done) {}
void BackgroundFileWriter::drain() {}
void BackgroundFileWriter::serve() {}

}  // namespace brevanto
