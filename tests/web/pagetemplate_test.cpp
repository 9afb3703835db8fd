#include "web/pagetemplate.h"

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

std::vector<std::string> renderedLines(const PageTemplate& page) {
    std::vector<std::string> lines;
    const std::string text = RenderPage(page);
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "the page must end in LF";
    return lines;
}

TEST(PageTemplate, RendersEveryLineFollowedByOneLfAndNothingElse) {
    PageTemplate page(8);
    EXPECT_EQ(RenderPage(page), "");
    page.append("<p>");
    page.append("");
    page.append("  a ");
    EXPECT_EQ(page.lineCount(), 3u);
    EXPECT_EQ(page.capacity(), 8u);
    EXPECT_EQ(RenderPage(page), "<p>\n\n  a \n");
}

TEST(PageTemplate, WritingReplacesTheWholeLineEveryTime) {
    PageTemplate page(4);
    page.append("head");
    const auto value = page.append("    BVar1");
    page.append("tail");
    page.setLine(value, "230.5");
    EXPECT_EQ(page.line(value), "230.5");
    page.setLine(value, "<b>");
    EXPECT_EQ(RenderPage(page), "head\n<b>\ntail\n");
}

TEST(PageTemplate, AValueNeverSplitsItsLine) {
    PageTemplate page(2);
    page.append("x");
    page.setLine(0, "a\r\nb\nc");
    EXPECT_EQ(page.line(0), "a  b c");
    EXPECT_EQ(RenderPage(page), "a  b c\n");
}

TEST(PageTemplate, RefusesLinesOutsideThePage) {
    PageTemplate page(2);
    page.append("a");
    EXPECT_THROW(page.setLine(1, "b"), std::out_of_range);
    EXPECT_THROW(page.line(1), std::out_of_range);
    page.append("b");
    EXPECT_THROW(page.append("c"), std::length_error);
    EXPECT_EQ(RenderPage(page), "a\nb\n");
}

TEST(PageTemplate, RenderingWhileTheLineIsRewrittenSeesOnlyWholeTexts) {
    constexpr std::size_t kLines = 20;
    constexpr std::size_t kValueLine = 7;
    constexpr int kWrites = 2000;
    constexpr int kRenders = 200;
    PageTemplate page(kLines);
    for (std::size_t i = 0; i < kLines; ++i) {
        page.append("line " + std::to_string(i));
    }
    const std::vector<std::string> texts = {std::string(5000, 'a'), std::string(3, 'b'),
                                            std::string(9000, 'c')};
    std::thread writer([&] {
        for (int i = 0; i < kWrites; ++i) {
            page.setLine(kValueLine, texts[static_cast<std::size_t>(i) % texts.size()]);
        }
    });
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r) {
        readers.emplace_back([&] {
            for (int i = 0; i < kRenders; ++i) {
                const auto lines = renderedLines(page);
                ASSERT_EQ(lines.size(), kLines);
                const auto& seen = lines[kValueLine];
                const bool whole =
                    seen == "line 7" || seen == texts[0] || seen == texts[1] || seen == texts[2];
                ASSERT_TRUE(whole) << "torn line of " << seen.size() << " characters";
            }
        });
    }
    writer.join();
    for (auto& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(page.line(kValueLine), texts[(kWrites - 1) % texts.size()]);
}

}  // namespace
}  // namespace brevanto
