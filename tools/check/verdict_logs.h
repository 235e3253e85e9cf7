// The verdict on the script hook's and the ASI loader's logs: each line that
// matters explained, set against the files and the other logs; the rest
// counted, a damaged end said once.
#pragma once

#include "findings.h"
#include "verdict_common.h"

// The part of the report for each log; a part with no heading when there is
// no such log.
VerdictPart hook_log_part(const GameFolder& game, const Timeline& timeline);
VerdictPart loader_log_part(const GameFolder& game, const Timeline& timeline);
