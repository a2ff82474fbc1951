// scan_fixture.h - shared test fixture: a temporary current folder for fixture dictionaries,
// a recorder for the engine's message boxes, and a clean scanner, cache and theme store.
#ifndef SCAN_FIXTURE_H
#define SCAN_FIXTURE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dictpack.h"
#include "trv600.h"
#include "trv_scan.h"
#include "trv_wrds.h"

namespace scantest {

inline std::vector<std::string> &boxes()
{
    static std::vector<std::string> texts;
    return texts;
}

inline int recordBox(const char *text, const char *, int buttons)
{
    boxes().push_back(text ? text : "");
    return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY;
}

// Number of recorded boxes whose text contains the part.
inline int countBoxes(const std::string &part)
{
    int n = 0;
    for (auto &t : boxes())
        if (t.find(part) != std::string::npos)
            n++;
    return n;
}

inline void resetEngineState()
{
    for (int n = 0; n <= MaxWordLength; n++)
        Lexicon.Release(n);
    FlushFlexibilityCache();
    ScanUseIndex = true;
    while (ThmWds.NumThemeWords() > 0)
        ThmWds.DeleteWord(ThmWds.NumThemeWords() - 1);
    ThmWds.SetupBySizeInvalidate();
}

class ScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        oldCwd = std::filesystem::current_path();
        char tmpl[] = "/tmp/trv_scan_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        std::filesystem::current_path(dir);
        std::filesystem::create_directory("ZEDAVIV");
        TRVSetMessageBoxHandler(recordBox);
        boxes().clear();
        resetEngineState();
    }
    void TearDown() override
    {
        resetEngineState();
        TRVSetMessageBoxHandler(nullptr);
        std::filesystem::current_path(oldCwd);
        std::filesystem::remove_all(dir);
    }

    static void writeDict(const std::vector<std::string> &words)
    {
        std::string error;
        ASSERT_TRUE(trvdict::writeDictionary("ZEDAVIV", words, nullptr, &error)) << error;
    }
    static void writeFile(const std::string &name, const std::vector<uint8_t> &bytes)
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    static void putUnit(std::vector<uint8_t> &b, unsigned u)
    {
        b.push_back(uint8_t(u & 0xFF));
        b.push_back(uint8_t(u >> 8));
    }
    static void putWord(std::vector<uint8_t> &b, const std::string &w)
    {
        for (uint16_t u : trvdict::packWord(w))
            putUnit(b, u);
    }

    std::filesystem::path oldCwd;
    std::filesystem::path dir;
};

// Deterministic pseudo-random words.
class WordMaker
{
public:
    explicit WordMaker(uint32_t seed) : state(seed) {}
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    std::string word(int length)
    {
        std::string w;
        for (int i = 0; i < length; i++)
            w += char('A' + next() % 26);
        return w;
    }

private:
    uint32_t state;
};

} // namespace scantest

#endif
