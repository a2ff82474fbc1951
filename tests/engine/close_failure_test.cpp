// close_failure_test.cpp - the older text reader reports a failed close with result 98. The
// test binary puts its own fclose in front of the C library's to make closing fail.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "engine_test_util.h"
#include "trv_grid.h"

namespace {
bool failNextClose = false;
}

extern "C" int fclose(FILE *file)
{
    using CloseFn = int (*)(FILE *);
    static CloseFn realClose = reinterpret_cast<CloseFn>(dlsym(RTLD_NEXT, "fclose"));
    const int result = realClose(file);
    if (failNextClose) {
        failNextClose = false;
        return EOF;
    }
    return result;
}

TEST(ReaderCloseFailure, ResultIs98)
{
    ScriptedBoxes::Install();
    const std::string zoo = std::string(TRV_TEST_DATA) + "/engine/zoo.txt";
    failNextClose = true;
    EXPECT_EQ(TRVReadPuzzle(zoo.c_str()), 98);
    EXPECT_FALSE(failNextClose); // the reader's own close was the one that failed
    EXPECT_EQ(TRVGetWidth(), 5); // the grid was read all the same
    EXPECT_TRUE(ScriptedBoxes::shown.empty());
    EXPECT_EQ(TRVReadPuzzle(zoo.c_str()), 0);
    TRVSetMessageBoxHandler(nullptr);
}
