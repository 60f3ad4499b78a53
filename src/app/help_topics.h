// Which topic of the help file a dialog opens for the page on view.
#pragma once

#include <string>

#include "app/main_controller.h"

namespace cindral::app {

// The compiled help file in the home folder.
constexpr const char* kHelpFileName = "help.chm";

// The topic of `page` of `dialog`; on the Erase Items dialog's browser page
// the topic is that of `innerPage`. Empty for a page the table does not
// know (such a page opens no help).
std::string helpTopic(Dialog dialog, int page, int innerPage = -1);

}  // namespace cindral::app
