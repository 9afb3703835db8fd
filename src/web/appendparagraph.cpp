#include "web/appendparagraph.h"

namespace brevanto {

void AppendParagraph(std::string& body, std::string_view text) {
    body += R"(<p align="left"> )";
    body += text;
    body += " </p>";
}

}  // namespace brevanto
