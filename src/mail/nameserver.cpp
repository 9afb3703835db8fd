#include <arpa/inet.h>
#include <netinet/in.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "mail/mxlookup.h"

namespace brevanto {
namespace {

// A line's words before any '#' or ';' comment.
std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream stream(line.substr(0, line.find_first_of("#;")));
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

// c-ares takes a bare address: a scoped IPv6 one (fe80::1%eth0) would lose
// the interface that makes it reachable, so it is no server for us.
bool isNumericAddress(const std::string& text) {
    in6_addr ignored{};
    return ::inet_pton(AF_INET, text.c_str(), &ignored) == 1 ||
           ::inet_pton(AF_INET6, text.c_str(), &ignored) == 1;
}

}  // namespace

std::optional<NameServer> firstNameServer(const std::filesystem::path& resolvConf) {
    try {
        std::ifstream file(resolvConf);
        for (std::string line; std::getline(file, line);) {
            const std::vector<std::string> words = wordsOf(line);
            if (words.size() >= 2 && words[0] == "nameserver" && isNumericAddress(words[1])) {
                return NameServer{words[1]};
            }
        }
    } catch (...) {
    }
    return std::nullopt;
}

}  // namespace brevanto
