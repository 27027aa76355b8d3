#pragma once

// The per-user folders of the schemes "logs://", "user://", "save://",
// "cache://" and "docs://", below the user's application-data and documents
// folders, in a folder named after the program id.

// Creates the folders and sets the scheme roots; false when the
// application-data folder is unknown, a folder cannot be made, or the id is
// ".", ".." or holds a path separator. Spaces in the id become '-'. Safe
// while another process sets up the same folders.
bool HVI_SetUpUserFolders(const char* programId);
