// One saver of a user sounds at a time: the first process to claim the
// music holds an advisory lock on a file in the user's private folder until
// it ends; the others stay silent.
#pragma once

#include <string>

// True when this process holds the claim (taken now or before); false when
// another process holds it or `folder` (ending in "/") is empty or unusable.
bool ClaimMusicLock(const std::string& folder);
