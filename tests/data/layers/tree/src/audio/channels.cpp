// The check reads an include written with spaces too.
// clang-format off
#  include "../graphics/bitmap.h"
