// The verdict on the game folder's files: the game, the script hook and the
// ASI loader with their versions, where Ondrelle.asi is and whether a second
// copy loads too, its Ondrelle.ini, and whether that folder can be written.
#pragma once

#include <vector>

#include "findings.h"
#include "verdict_common.h"

// The findings on the game folder's files, in the order a player checks
// them. own_version is this checker's version, to set against the plug-in's.
std::vector<Finding> folder_findings(const GameFolder& game, const Timeline& timeline, const char* own_version);
