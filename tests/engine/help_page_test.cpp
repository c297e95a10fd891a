// The local help page that the build copies beside the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kHelpPage = std::string(TL_SOURCE_DIR) + "/assets/help/index.html";

std::string ReadText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Checks that every element is closed in the order it was opened (void elements excepted).
// Returns an empty string when the page nests properly, otherwise what went wrong; the names of
// the elements met are added to `seen`.
std::string CheckNesting(const std::string &html, std::set<std::string> &seen)
{
    static const std::set<std::string> kVoid = {"meta", "br", "hr", "img", "link", "input", "col", "wbr"};
    std::vector<std::string> open;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string::npos) {
        if (html.compare(at, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", at);
            if (end == std::string::npos)
                return "unterminated comment";
            at = end + 3;
            continue;
        }
        const std::size_t end = html.find('>', at);
        if (end == std::string::npos)
            return "unterminated tag at offset " + std::to_string(at);
        std::string tag = html.substr(at + 1, end - at - 1);
        at = end + 1;
        if (!tag.empty() && tag[0] == '!')
            continue; // the doctype
        const bool closing = !tag.empty() && tag[0] == '/';
        if (closing)
            tag.erase(0, 1);
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nameEnd])))
            ++nameEnd;
        const std::string name = Lower(tag.substr(0, nameEnd));
        if (name.empty())
            return "bad tag <" + tag + ">";
        seen.insert(name);
        if (closing) {
            if (open.empty() || open.back() != name)
                return "</" + name + "> closes <" + (open.empty() ? std::string("nothing") : open.back()) + ">";
            open.pop_back();
        } else if (!kVoid.count(name) && tag.back() != '/') {
            open.push_back(name);
        }
        if (name == "style" && !closing) {
            // The style sheet may hold '>' in selectors; skip to its end tag.
            const std::size_t close = Lower(html).find("</style>", at);
            if (close == std::string::npos)
                return "unterminated style";
            at = close;
        }
    }
    if (!open.empty())
        return "<" + open.back() + "> is never closed";
    return "";
}

} // namespace

TEST(HelpPage, IsAWellFormedPageTitledWithTheGamesName)
{
    const std::string html = ReadText(kHelpPage);
    ASSERT_FALSE(html.empty()) << "missing " << kHelpPage;
    EXPECT_EQ(Lower(html.substr(0, 15)), "<!doctype html>");

    std::set<std::string> seen;
    EXPECT_EQ(CheckNesting(html, seen), "");
    for (const char *element : {"html", "head", "title", "body"})
        EXPECT_TRUE(seen.count(element)) << "no <" << element << ">";

    const std::size_t head = html.find("<head>");
    const std::size_t body = html.find("<body>");
    ASSERT_NE(head, std::string::npos);
    ASSERT_NE(body, std::string::npos);
    EXPECT_LT(head, body);
    const std::size_t title = html.find("<title>Dornel's Tilloran</title>");
    EXPECT_TRUE(title > head && title < body) << "the title belongs in the head";
}

TEST(HelpPage, NeedsNothingFromOutside)
{
    const std::string html = Lower(ReadText(kHelpPage));
    ASSERT_FALSE(html.empty());
    for (const char *outside : {"<script", "<link", "<img", "src=", "url(", "http:", "https:", "@import"})
        EXPECT_EQ(html.find(outside), std::string::npos) << "the page uses " << outside;
    // Links stay inside the page.
    std::size_t at = 0;
    while ((at = html.find("href=\"", at)) != std::string::npos) {
        at += 6;
        EXPECT_EQ(html[at], '#') << html.substr(at, 30);
    }
}

TEST(HelpPage, ExplainsTheThirteenTechniquesInTheirOrder)
{
    const std::string html = ReadText(kHelpPage);
    const std::size_t section = html.find("id=\"techniques\"");
    ASSERT_NE(section, std::string::npos);
    // Searching on from the end of the previous name also keeps a name that lies inside a
    // longer one ("Avoidable Duplicates") from being found there.
    const char *names[] = {"Bordering",
                           "Centering",
                           "One kind left",
                           "Uncovered cell(s)",
                           "Avoidable Duplicates",
                           "Avoidable Duplicates with Forcing Cell",
                           "Almost Duplicates with Forcing Cell",
                           "Rectangle with Leftover Cell",
                           "Forced Rectangle with Leftover Cell",
                           "Rectangle with Forcing Cell",
                           "Avoidable Sandwich",
                           "Chained Couples with Forcing Cell",
                           "Chained Couples with Leftover Cell"};
    std::size_t at = section;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const std::string name = names[i];
        const std::string heading = ">" + std::to_string(i + 1) + ". " + name + "<";
        const std::size_t found = html.find(heading, at);
        EXPECT_NE(found, std::string::npos) << "no heading for " << name << " after the previous technique";
        if (found != std::string::npos)
            at = found + heading.size();
    }
}

TEST(HelpPage, NamesTheLevelsAndTheHintPenalties)
{
    const std::string html = ReadText(kHelpPage);
    for (const char *text : {"Easy", "Medium", "Hard", "Insane", "10 seconds", "20 seconds", "30 seconds",
                             "40 seconds", "No more logical hints...", "The value of the marked cell is wrong..."})
        EXPECT_NE(html.find(text), std::string::npos) << text;
}
