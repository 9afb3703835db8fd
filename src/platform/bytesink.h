// Where writers of files put their bytes: a file being replaced, a buffer in
// a test, a sink that fails on purpose. write() returns false once the bytes
// could not all be taken; a writer stops at the first false.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool write(std::string_view bytes) = 0;
};

class StringSink final : public ByteSink {
public:
    bool write(std::string_view bytes) override {
        m_bytes.append(bytes);
        return true;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

}  // namespace brevanto
