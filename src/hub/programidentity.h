// How the program names itself: in its window, its About box and its pages.
#pragma once

#include <string>

namespace brevanto {

inline constexpr const char* kProgramVersion = "1.1.7.1";

inline std::string windowCaption() {
    return std::string("Brevanto ") + kProgramVersion + " - by Corvella Software";
}

// The footer of both web pages.
inline std::string webTitle() {
    return std::string("Brevanto v. ") + kProgramVersion + " - by CorvellaSoft";
}

}  // namespace brevanto
