// The file version a Windows program or library carries in its version
// resource ("1.0.1491.50") and the texts beside it (what the product is, who
// made it), whether the file is whole, and whether it is made
// for 64-bit Windows, read from the file's bytes, so that the tools show the
// same on Windows and on Linux.
#pragma once

#include <string>

// The file version of the PE file in bytes, as four numbers joined by
// points; empty when it is no PE file or carries no version resource.
std::string pe_file_version(const std::string& bytes);

// Whether the bytes start as a Windows program or library does (the "MZ"
// header and the PE signature it points to): false for any other file
// saved under a program's name, such as a web page.
bool pe_file_has_header(const std::string& bytes);

// Whether the bytes hold a whole PE file: its headers and every section's
// bytes, as far as its section table says they reach. A download cut short,
// or a web page saved under a program's name, is not one, and Windows
// refuses to load it.
bool pe_file_whole(const std::string& bytes);

// Whether the PE file in bytes is made for 64-bit Windows on x64, as the
// game is: a 32-bit library (an ASI loader for an older game, say) cannot be
// loaded into it. False when it is no PE file.
bool pe_file_64_bit(const std::string& bytes);

// A text of the version resource's string table, by its key: "ProductName",
// "FileDescription", "CompanyName". In UTF-8; empty when the file has none.
std::string pe_file_string(const std::string& bytes, const char* key);
