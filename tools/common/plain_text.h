// Small text helpers every tool shares, written once: letters' case as the
// game's key matching sees it, a text's start and end, how near two names
// are, and any bytes made safe to print on a console.
//
// Plain functions on std::string; nothing here touches the system.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Whether c is one of the digits 0 to 9.
bool is_digit(char c);

// text with its ASCII letters A to Z in lower case, every other byte as it is.
std::string lower_case(std::string text);

// Whether text starts or ends with the given text, byte for byte.
bool starts_with(const std::string& text, const std::string& start);
bool ends_with(const std::string& text, const std::string& ending);

// The same, whatever the case of the ASCII letters on either side.
bool ends_with_any_case(const std::string& text, const std::string& ending);

// The edits (insert, delete, replace, swap of two neighbours) from one name
// to another: how near a misspelt key or file name is to the one meant.
size_t edit_distance(const std::string& a, const std::string& b);

// The names of names that typed most likely meant, mistyped, in their order:
// those nearest to it, when that is at most two edits away and fewer than
// half typed's length away; empty when none is that near (then typed is not a
// slip of the fingers).
std::vector<const char*> names_meant(const std::string& typed, const std::vector<const char*>& names);

// The first of them, or null.
const char* name_meant(const std::string& typed, const std::vector<const char*>& names);

// text with every byte that could garble a console escaped: control bytes
// as \r, \t or \x1B, and bytes that are no valid UTF-8 as \xNN. Valid UTF-8,
// a folder's name in any script say, stays as it is.
std::string escaped_text(const std::string& text);

// How many console columns text takes: one per character, two for an East
// Asian wide one, so the later bytes of a UTF-8 character take none.
size_t text_columns(const std::string& text);

// The characters of text that fill at most columns console columns, from its
// start, never splitting a UTF-8 character.
std::string first_columns(const std::string& text, size_t columns);

// pattern with each {name} in it replaced by the text fill gives for name.
// A name fill does not know (it returns false) is a fault of the table the
// pattern comes from, named by table: the program stops, naming it, rather
// than print a text with a hole in it; the tests, which word every row,
// see it at once.
std::string filled_text(const char* pattern, const char* table,
                        const std::function<bool(const std::string& name, std::string* text)>& fill);
