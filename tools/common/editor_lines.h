// A settings file's lines as an editor shows them, and where the game's line
// reader cuts the same text. An editor ends a line at a line feed (a CR LF
// pair, read in text mode, arrives as one) or at a carriage return alone;
// the game's reader ends one only at a line feed, or after as many
// characters as its buffer holds. Where the two differ, the tools count
// lines as the player's editor does.
#pragma once

#include <cstddef>
#include <string>

enum LineEnd {
    line_end_none,    // the file's last line, without a line end
    line_end_feed,    // a line feed
    line_end_return,  // a carriage return alone, which the game does not take as a line end
};

struct EditorLine {
    std::string text;  // without its line end
    LineEnd end;
    size_t start;  // where it starts in the text
};

// Splits the next line off content from position, and moves position past
// it. Returns false, changing nothing, at the end of content.
bool next_editor_line(const std::string& content, size_t* position, EditorLine* line);

// Where the game's line reader starts its line_number-th line (from 1) in
// content: each of its lines runs up to and including a line feed, and is at
// most one character short of its line buffer.
size_t game_line_start(const std::string& content, int line_number);
