#pragma once

// The per-user folders of the schemes "logs://", "user://", "save://",
// "cache://" and "docs://", below the user's application-data and documents
// folders, in a folder named after the program id.

// Creates the folders and sets the scheme roots; false when the
// application-data folder is unknown.
bool HVI_SetUpUserFolders(const char* programId);
