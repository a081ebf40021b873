// A screenshot of the whole desktop through the desktop portal
// (org.freedesktop.portal.Screenshot on the session bus), taken without
// asking the user.
#pragma once

#include <optional>
#include <string>

// The URI of the picture the portal wrote; nothing, with `why` saying so,
// when there is no session bus or no portal on it, when the portal refuses,
// or when its answer has not come within `timeoutMs` in all.
std::optional<std::string> TakePortalScreenshot(int timeoutMs, std::string& why);
