#pragma once

namespace lanxun {

// Opens the forum's home page in the default browser: the link label of the login window
// and its copy on the numbers page. Nothing is reported when no browser opens it.
void OpenForumPage();

}  // namespace lanxun
