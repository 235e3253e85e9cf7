// The report a player sends: the user's folder and name taken out of every
// path, whatever the separators and the letters' case, quoted log lines
// included, and nothing else touched.
#include <gtest/gtest.h>

#include "report_file.h"

namespace {

TEST(ReportFile, TheUserIsTakenOutOfEveryPathAndNothingElse) {
    const UserNames user = {{"C:\\Users\\Ann", "D:\\Profiles\\ann.smith"}, "Ann"};
    const struct {
        const char* text;
        const char* sent;
    } rows[] = {
        {"== The game's folder: C:\\Users\\Ann\\Games\\RDR2", "== The game's folder: <user>\\Games\\RDR2"},
        {"c:/users/ANN/Games/RDR2", "<user>/Games/RDR2"},
        {"ASI: Loading \"D:\\Profiles\\ann.smith\\RDR2\\Ondrelle.asi\"", "ASI: Loading \"<user>\\RDR2\\Ondrelle.asi\""},
        // Another profile of the shape Windows gives them, and the Linux home
        // under Proton and natively.
        {"in E:\\Users\\Bob\\RDR2 and Z:\\home\\bob\\Games", "in <user>\\RDR2 and <user>\\Games"},
        {"/home/bob/Games/RDR2", "<user>/Games/RDR2"},
        // The name where it stands alone in a path, and nowhere else.
        {"D:\\Games\\Ann\\RDR2 by Ann", "D:\\Games\\<user>\\RDR2 by Ann"},
        {"D:\\Games\\Annabel\\RDR2", "D:\\Games\\Annabel\\RDR2"},
        {"C:\\Users\\Annabel is no folder of Ann's", "<user> is no folder of Ann's"},
        {"D:\\Games\\RDR2\\home\\x.asi", "D:\\Games\\RDR2\\home\\x.asi"},
        {"C:\\Users\\Ann", "<user>"},
    };
    for (const auto& row : rows) EXPECT_EQ(without_user(row.text, user), row.sent) << row.text;
}

}  // namespace
