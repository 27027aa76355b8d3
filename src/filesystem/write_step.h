#pragma once

// The step at which a whole-file write stopped: creating the temporary file
// beside the target, writing its bytes, flushing them to the disk, or
// putting it in the target's place. None when the write succeeded.
enum class WriteStep { None, Create, Write, Flush, Replace };

// The popup text that names the failed step; its "%s" takes the path.
const char* HVI_GetWriteFailureText(WriteStep step);
