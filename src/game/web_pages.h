// Opening the local help page and the maker's web site in the program associated with HTML.
#pragma once

#include "platform/services.h"

#include <string>

namespace tl {

// The home page of the maker's web site.
extern const char *const kMakerWebSite;
// The help page, relative to the program's folder.
extern const char *const kHelpPageInProgramFolder;

// The absolute path of the help page beside the program (programFolder without a trailing
// separator, as FolderService gives it).
std::string HelpPagePath(const std::string &programFolder);

// Finds the program associated with HTML pages and starts it on `page`; reports a missing
// association ("Browser Not Found") or a failed start ("URL Failed") in a message box.
// Returns true when the browser was started.
bool Open_Web_Page(BrowserService &browser, MessageBoxService &messages, const std::string &page,
                   bool maximised);

} // namespace tl
