#include "ErrorReporting.h"

#include <gtest/gtest.h>

TEST(ErrorTexts, FullStopIsAddedOnlyAfterCharactersThatSortAfterTheDot)
{
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"abc", "abc."},
        {"abc.", "abc."},
        {"abc)", "abc)"}, // ')' sorts before '.'
        {"a-", "a-"},     // so does '-'
        {"a/", "a/."},    // '/' is the first one after it
        {"", ""},
        {"Não", "Não."},
        {"cdxtb: Field 'serie' not found", "cdxtb: Field 'serie' not found."},
        {"x ", "x "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(withFullStop(QString::fromUtf8(c.text)).toStdString(), c.shown);
    }
}

TEST(ErrorTexts, ApplicationTitleComesFromTheProgramFileName)
{
    struct Case {
        const char* path;
        const char* title;
    };
    const Case cases[] = {
        {"/opt/kit/quorvane", "quorvane"},
        {"/opt/kit/Quorvane.bin", "Quorvane"},
        {"QUORVANE", "Quorvane"},
        {"/a.b/qUORVANE.tar.gz", "quorvane"}, // first character kept as it is
        {"/opt/.hidden", ""},
        {"C:/Kit/Ketmo.EXE", "Ketmo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(applicationTitle(QString::fromUtf8(c.path)).toStdString(), c.title);
    }
}
