#pragma once
// A folder of the fuzz process's own, for targets whose reader takes a file
// on disk: made once (in /dev/shm when there is one, so that the many small
// writes stay in memory), emptied between inputs, removed when the process
// ends normally.

#include <filesystem>

// The folder, made on the first call.
const std::filesystem::path& StavlinFuzzFolder();

// Removes everything in the folder and keeps the folder itself; returns it.
// usual names the file an input usually leaves there (a name in the folder),
// which makes the emptying cheaper.
const std::filesystem::path& StavlinFuzzEmptyFolder(const std::filesystem::path& usual = {});
