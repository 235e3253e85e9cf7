// Printing a report's parts; see report_parts.h.
#include "report_parts.h"

#include "console_text.h"

std::vector<std::string> part_lines(const ReportPart& part) {
    std::vector<std::string> lines;
    if (!part.heading.empty()) lines = wrapped_lines("== ", part.heading, 3, kConsoleLineWidth);
    for (const Paragraph& paragraph : part.paragraphs) {
        std::vector<std::string> wrapped =
            wrapped_lines(paragraph.prefix, paragraph.text, paragraph.indent, kConsoleLineWidth);
        lines.insert(lines.end(), wrapped.begin(), wrapped.end());
    }
    return lines;
}

void print_part(const ReportPart& part) {
    FILE* out = part.on_error_stream ? stderr : stdout;
    for (const std::string& line : part_lines(part)) std::fprintf(out, "%s\n", line.c_str());
}
