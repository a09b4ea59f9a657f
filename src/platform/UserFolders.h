#pragma once
// The user's own folders, found the XDG way: an environment variable when it
// holds an absolute path (relative ones are invalid and ignored), else the home
// folder from $HOME or the password database.

#include <filesystem>
#include <optional>

// The absolute folder named by an environment variable, or nothing.
std::optional<std::filesystem::path> FolderFromEnvironment(const char* name);

// The home folder, or nothing when neither $HOME nor the password database
// names an absolute one.
std::optional<std::filesystem::path> HomeFolder();
