// The report file; see report_file.h.
#include "report_file.h"

#include <cctype>

#include "plain_text.h"
#include "tool_platform.h"

namespace {

const char kUser[] = "<user>";

bool is_separator(char c) { return c == '\\' || c == '/'; }

// Where a path's component that starts at at ends: at a separator, a quote,
// a blank or a line end.
size_t component_end(const std::string& text, size_t at) {
    while (at < text.size() && !is_separator(text[at]) && text[at] != '"' && text[at] != '\'' && text[at] != ' ' &&
           text[at] != '\n')
        ++at;
    return at;
}

// Whether text holds path at at, whatever the separators and the letters'
// case, as a whole: what follows is no more of the same component.
bool path_at(const std::string& text, size_t at, const std::string& path) {
    if (path.empty() || at + path.size() > text.size()) return false;
    for (size_t k = 0; k < path.size(); ++k) {
        char a = text[at + k], b = path[k];
        if (is_separator(a) && is_separator(b)) continue;
        if (lower_case(std::string(1, a)) != lower_case(std::string(1, b))) return false;
    }
    return component_end(text, at + path.size()) == at + path.size();
}

// Whether a path may start after c: at the start of a word or a quote.
bool path_may_start_after(char c) {
    return std::isspace(static_cast<unsigned char>(c)) || c == '"' || c == '\'' || c == '(';
}

// The length of a profile folder of a known shape at at, 0 for none: a
// drive's \Users\NAME or \home\NAME (the Linux home under Proton), or
// /home/NAME at the start of a path.
size_t profile_shape_at(const std::string& text, size_t at) {
    if (at > 0 && !path_may_start_after(text[at - 1])) return 0;
    size_t from = at;
    if (at + 1 < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) && text[at + 1] == ':') from += 2;
    if (from >= text.size() || !is_separator(text[from])) return 0;
    for (const std::string parent : {"users", "home"}) {
        size_t name_start = from + parent.size() + 2;
        if (name_start > text.size() || !is_separator(text[name_start - 1]) ||
            lower_case(text.substr(from + 1, parent.size())) != parent)
            continue;
        size_t name_end = component_end(text, name_start);
        if (name_end > name_start) return name_end - at;
    }
    return 0;
}

}  // namespace

UserNames user_names() {
    UserNames user;
    for (const char* variable : {"USERPROFILE", "HOME"}) {
        std::string folder = tool_environment(variable);
        while (folder.size() > 1 && is_separator(folder.back())) folder.pop_back();
        // A root is no one's own folder.
        if (folder.size() > 3) user.folders.push_back(folder);
    }
    user.name = tool_environment("USERNAME");
    if (user.name.empty()) user.name = tool_environment("USER");
    return user;
}

std::string without_user(const std::string& text, const UserNames& user) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        bool taken = false;
        for (const std::string& folder : user.folders) {
            if (!path_at(text, at, folder)) continue;
            out += kUser;
            at += folder.size();
            taken = true;
            break;
        }
        if (taken) continue;
        size_t shape = profile_shape_at(text, at);
        if (shape > 0) {
            out += kUser;
            at += shape;
            continue;
        }
        // The name alone as a component of a path.
        if (!user.name.empty() && at > 0 && is_separator(text[at - 1]) && path_at(text, at, user.name)) {
            out += kUser;
            at += user.name.size();
            continue;
        }
        out += text[at++];
    }
    return out;
}

std::string report_text(const std::vector<ReportPart>& parts) {
    std::string text;
    for (size_t part = 0; part < parts.size(); ++part) {
        if (part > 0) text += "\n";
        for (const std::string& line : part_lines(parts[part])) text += line + "\n";
    }
    return text;
}

std::string write_report_file(const std::vector<ReportPart>& parts) {
    std::string text = without_user(report_text(parts), user_names());
    std::string chosen = tool_environment(kReportFolderVariable);
    for (const std::string& folder : {chosen.empty() ? tool_program_folder() : chosen, tool_temp_folder()}) {
        if (folder.empty()) continue;
        std::string path = folder + kToolPathSeparator + kReportFileName;
        if (tool_write_text_whole(path, text)) return path;
    }
    return "";
}

ReportPart report_file_part(const std::string& path) {
    std::string text = path.empty() ? "ondrelle-check could not save this report, neither beside itself nor in the "
                                      "temporary folder."
                                    : path +
                                          " holds all of the above, with your user name taken out: attach it when "
                                          "you ask for help.";
    return ReportPart{"", {Paragraph{"Report: ", text, 2}}, {}, false};
}
