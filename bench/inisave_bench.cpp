// The cost of turning the settings file back into text when it has grown
// many sections (a hand-kept [Ports] list, keys of other programs): the
// time of one save's text for files of 100,000 and 400,000 sections.
#include <chrono>
#include <cstdio>
#include <string>

#include "store/inidocument.h"

namespace {

// Sections as a hand-edited file has them, each followed by a blank line.
std::string fileOfSections(int sections) {
    std::string text;
    for (int i = 0; i < sections; ++i) {
        text += "[Section " + std::to_string(i) + "]\nkey=value\n\n";
    }
    return text;
}

}  // namespace

int main() {
    for (const int sections : {100000, 400000}) {
        const brevanto::IniDocument document(fileOfSections(sections));
        const auto started = std::chrono::steady_clock::now();
        const std::string text = document.text();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        std::printf("ini save text, %d sections (%zu bytes): %.3f s\n", sections, text.size(),
                    took.count());
    }
    return 0;
}
