#pragma once
// The user's documents folder: $XDG_DOCUMENTS_DIR when it holds an absolute
// path, else "Documents" in the home folder ($HOME, or the password database's
// entry). Empty when no home folder is known. The folder may not exist.

#include <filesystem>

std::filesystem::path UserDocumentsFolder();
