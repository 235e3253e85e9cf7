// A game folder's evidence made in memory, for tests of ondrelle-check's
// verdict that need no folder on disk: a healthy installation (the game, the
// hook and the loader of the game's build, Ondrelle.asi beside its settings,
// a folder that can be written) with no logs, and the logs put in one by one
// with the bytes and the time asked for.
#pragma once

#include <cstdint>
#include <string>

#include "game_folder.h"

// When the stand-in game was last updated, and the start its logs tell of
// (seconds since 1970): well after the update.
const int64_t kGameUpdated = 1764583200;  // 2025-12-01 10:00 UTC
const int64_t kLastStart = 1767471300;    // 2026-01-03 20:15 UTC

GameFolder healthy_game_folder();

// Puts a log of the given bytes, last written at written, into the folder,
// read as the checker reads it: the hook's, the loader's or Ondrelle.log.
void put_log(GameFolder* game, LogName log, const std::string& bytes, int64_t written);
