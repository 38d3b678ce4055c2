#pragma once

#include <optional>

// The news reading position as the news file holds it: the number of the next
// line to show, kept across runs. Every function opens the file, works inside
// one transaction and closes it; any of them may run off the user-interface
// thread. The file's password is derived into a key once per run.
namespace newsstore {

// The stored position; nullopt when the file does not open or holds no record.
std::optional<int> readPosition();
// Where a run over a list of `lineCount` lines starts, storing the start over
// at 1 when the list was used up; nullopt when the file fails.
std::optional<int> startRun(int lineCount);
// Stores `newsLine` as the next line to show; false when the file fails.
bool storePosition(int newsLine);

} // namespace newsstore
