// Reading Ondrelle.log back in tests, on either platform: line ends folded to
// LF and each entry's "hh:mm:ss.mmm " time stamp cut off, so that a test
// compares what was logged, not when.
#pragma once

#include <string>

inline std::string log_without_time_stamps(const std::string& log_text) {
    std::string result;
    size_t start = 0;
    while (start < log_text.size()) {
        size_t end = log_text.find('\n', start);
        if (end == std::string::npos) end = log_text.size();
        std::string line = log_text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // "hh:mm:ss.mmm " is 13 characters; a message's continuation lines have none.
        bool stamped = line.size() >= 13 && line[2] == ':' && line[5] == ':' && line[8] == '.' && line[12] == ' ';
        result += (stamped ? line.substr(13) : line) + "\n";
        start = end + 1;
    }
    return result;
}
