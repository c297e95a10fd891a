#include "game/web_pages.h"

namespace tl {

const char *const kMakerWebSite = "https://www.dornel-software.com";
const char *const kHelpPageInProgramFolder = "help/index.html";

std::string HelpPagePath(const std::string &programFolder)
{
    std::string path = programFolder;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + kHelpPageInProgramFolder;
}

namespace {
std::string Trimmed(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}
} // namespace

bool Open_Web_Page(BrowserService &browser, MessageBoxService &messages, const std::string &page,
                   bool maximised)
{
    // The association is looked up by MIME type, so no temporary page is needed to find it.
    const std::string program = Trimmed(browser.findHtmlProgram());
    if (program.empty()) {
        messages.show("Browser Not Found", "Could not find associated Browser",
                      MsgIcon::Exclamation, MsgButtons::Ok);
        return false;
    }
    if (!browser.launch(program, page, maximised)) {
        messages.show("URL Failed", "Web Page not Opened", MsgIcon::Exclamation, MsgButtons::Ok);
        return false;
    }
    return true;
}

} // namespace tl
