// Bytes read whole from a stream, for the tools: a settings file as the
// game's read hands it on, another program's log, a program's version.
#pragma once

#include <cstdio>
#include <string>

// Appends the rest of stream to bytes; false on a read error, with what was
// read before it appended all the same.
bool read_rest_of(FILE* stream, std::string* bytes);
