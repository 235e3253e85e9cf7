// The report a player can send when asking for help: what a look at the
// game's folder printed, in ondrelle-check-report.txt beside the checker (or
// in the temporary folder when that cannot be written), with the user's own
// folder and name taken out. Written whole or not at all; it is the one file
// the checker may leave behind.
#pragma once

#include <string>
#include <vector>

#include "report_parts.h"

const char kReportFileName[] = "ondrelle-check-report.txt";

// Where the report goes instead of beside the checker: a folder the tests
// choose, so that the folders they look at are left as they were.
const char kReportFolderVariable[] = "ONDRELLE_CHECK_REPORT_FOLDER";

// The user's own folders and name, as the system gives them: the profile
// folder (USERPROFILE, HOME) and the user name (USERNAME, USER).
struct UserNames {
    std::vector<std::string> folders;
    std::string name;
};

UserNames user_names();

// text with the user taken out: each of the user's folders, and every folder
// of the shapes a profile folder takes (X:\Users\NAME, Z:\home\NAME under
// Proton, /home/NAME), whatever the separators and the letters' case, become
// <user>; so does the user's name wherever it stands alone in a path.
std::string without_user(const std::string& text, const UserNames& user);

// The parts as printed, set apart by blank lines, one line to a line.
std::string report_text(const std::vector<ReportPart>& parts);

// Writes the report of parts, without the user; the path it was written to,
// or empty when it could be written nowhere.
std::string write_report_file(const std::vector<ReportPart>& parts);

// The line that says where the report is, for the end of the output.
ReportPart report_file_part(const std::string& path);
