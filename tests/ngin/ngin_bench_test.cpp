// ngin_bench_test.cpp - the benchmark patterns filled with the built dictionary: every
// 15 x 15 pattern is completed, and every completed slot is a dictionary or theme word that
// occurs only once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <string>

#include "../../bench/construct/bench_patterns.h"
#include "ngin_fixture.h"
#include "trv600.h"

namespace {

void OnRejects() {}
int Quiet(const char *, const char *, int buttons) { return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY; }

class BenchPatternTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        struct stat st;
        std::string dict = std::string(TRV_BIN_DIR) + "/ZEDAVIV/E.P05";
        if (stat(dict.c_str(), &st) != 0)
            GTEST_SKIP() << "no built dictionary";
        ASSERT_EQ(chdir(TRV_BIN_DIR), 0);
        TRVSetMessageBoxHandler(Quiet);
        TRVEstablishConstructInfoCB(nullptr);
        TRVEstablishRejectedWordsCB(OnRejects);
    }
};

TEST_P(BenchPatternTest, FilledSlotsAreKnownWordsOnce)
{
    const BenchPattern &p = BenchPatterns()[GetParam()];
    for (int withTheme = 0; withTheme < 2; ++withTheme) {
        ngintest::MakeGrid(p.rows);
        TRVThemeDeleteAll();
        std::set<std::string> themes;
        if (withTheme)
            for (const auto &w : p.themeWords) {
                TRVNewThemeWord(w.c_str(), "", 0);
                themes.insert(w);
            }
        int result = TRVConstructCmd(TRV_RIPUP_ALLOWED);
        if (std::strncmp(p.name, "15x15", 5) == 0) {
            EXPECT_EQ(result, TRV_FINISHED) << p.name;
        }
        if (result != TRV_FINISHED)
            continue;
        ASSERT_EQ(TRVCreate(), 1);
        std::set<std::string> seen;
        for (const auto &w : ngintest::SlotWords()) {
            EXPECT_TRUE(themes.count(w) || TRVIsInSpellingDict(w.c_str())) << p.name << ": " << w;
            EXPECT_TRUE(seen.insert(w).second) << p.name << ": twice " << w;
        }
        TRVDestroy();
    }
}

INSTANTIATE_TEST_SUITE_P(Patterns, BenchPatternTest,
                         ::testing::Range(0, static_cast<int>(BenchPatterns().size())),
                         [](const ::testing::TestParamInfo<int> &info) {
                             std::string name = BenchPatterns()[info.param].name;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

} // namespace
