#pragma once

// What the message boxes of this process showed. A message box writes its
// caption and text to stderr instead of waiting for a user, and is recorded
// here so that tests can check what the user would have seen.

#include <string>
#include <vector>

struct HVU_MessageBoxRecord {
    std::string caption;
    std::string text;
    unsigned type;
};

std::vector<HVU_MessageBoxRecord> HVU_GetMessageBoxRecords();
void HVU_ClearMessageBoxRecords();
