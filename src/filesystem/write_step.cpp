#include "filesystem/write_step.h"

namespace {

// One text per step of WriteStep after None, in its order; "%s" is the path.
constexpr const char* kWriteFailureTexts[] = {
    "Unable to open file '%s' for writing.",
    "Unable to write file '%s'.",
    "Unable to flush file '%s' to disk.",
    "Unable to replace file '%s' with its new version.",
};
static_assert(sizeof kWriteFailureTexts / sizeof kWriteFailureTexts[0] == int(WriteStep::Replace),
              "one text per failing step");

}  // namespace

const char* HVI_GetWriteFailureText(WriteStep step)
{
    // A step of None has no failure to name; the first step's text stands for it.
    const int index = step == WriteStep::None ? 0 : int(step) - 1;
    return kWriteFailureTexts[index];
}
