// The file version a Windows program or library carries in its version
// resource ("1.0.1491.50"), read from the file's bytes, so that the tools
// show the same on Windows and on Linux.
#pragma once

#include <string>

// The file version of the PE file in bytes, as four numbers joined by
// points; empty when it is no PE file or carries no version resource.
std::string pe_file_version(const std::string& bytes);
