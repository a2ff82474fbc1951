// faultbox_test.cpp - the library's message, error and warning boxes: texts, captions,
// buttons, the Ignore memory of each kind, and the behaviour without a handler.
#include <gtest/gtest.h>

#include <string>

#include "engine_test_util.h"
#include "trv_grid.h"

namespace {

const std::string Tail =
    "Press Retry to continue, press Ignore to continue and suppress future occurrances of this "
    "message, or press Abort to quit the program immediately without saving your work.";

class FaultBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { ScriptedBoxes::Install(); }
    void TearDown() override { TRVSetMessageBoxHandler(nullptr); }
};

TEST_F(FaultBoxTest, TextsCaptionsAndButtons)
{
    MesgBox("Hello.");
    ErrorBox("Disk on fire.");
    WarningBox("Spot one");
    ASSERT_EQ(ScriptedBoxes::shown.size(), 3u);
    EXPECT_EQ(ScriptedBoxes::shown[0].text, "Hello.");
    EXPECT_EQ(ScriptedBoxes::shown[0].caption, "Message");
    EXPECT_EQ(ScriptedBoxes::shown[0].buttons, TRV_MB_OK);
    EXPECT_EQ(ScriptedBoxes::shown[1].text, "Disk on fire.  " + Tail);
    EXPECT_EQ(ScriptedBoxes::shown[1].caption, "Error");
    EXPECT_EQ(ScriptedBoxes::shown[1].buttons, TRV_MB_ABORTRETRYIGNORE);
    EXPECT_EQ(ScriptedBoxes::shown[2].text,
              "Warning: An error was caught and prevented at \"Spot one\". " + Tail);
    EXPECT_EQ(ScriptedBoxes::shown[2].caption, "Warning");
}

TEST_F(FaultBoxTest, IgnoreMemoryPerKind)
{
    static const char first[] = "First fault.";
    static const char second[] = "Second fault.";
    static char sameWording[] = "First fault.";

    ScriptedBoxes::answers = {TRV_IDIGNORE};
    ErrorBox(first);
    ErrorBox(first); // ignored: no box
    EXPECT_EQ(ScriptedBoxes::shown.size(), 1u);
    ErrorBox(sameWording); // another message with the same words is shown
    EXPECT_EQ(ScriptedBoxes::shown.size(), 2u);
    WarningBox(first); // warnings remember their own message
    EXPECT_EQ(ScriptedBoxes::shown.size(), 3u);

    ScriptedBoxes::answers = {TRV_IDRETRY, TRV_IDRETRY};
    ErrorBox(second);
    ErrorBox(second); // Retry does not suppress
    EXPECT_EQ(ScriptedBoxes::shown.size(), 5u);
    ErrorBox(first); // still the last ignored error
    EXPECT_EQ(ScriptedBoxes::shown.size(), 5u);

    // Ignoring another message forgets the first one.
    ScriptedBoxes::answers = {TRV_IDIGNORE};
    ErrorBox(second);
    ErrorBox(first);
    EXPECT_EQ(ScriptedBoxes::shown.size(), 7u);
    ErrorBox(second);
    EXPECT_EQ(ScriptedBoxes::shown.size(), 7u);
}

TEST_F(FaultBoxTest, WithoutHandlerTextGoesToStandardError)
{
    TRVSetMessageBoxHandler(nullptr);
    ::testing::internal::CaptureStderr();
    MesgBox("Plain note.");
    ErrorBox("Unhandled fault.");
    WarningBox("Unhandled warning");
    const std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("Message: Plain note."), std::string::npos);
    EXPECT_NE(out.find("Error: Unhandled fault.  Press Retry"), std::string::npos);
    EXPECT_NE(out.find("Warning: Warning: An error was caught"), std::string::npos);
}

TEST_F(FaultBoxTest, HandlerIsReplacedAndReturned)
{
    EXPECT_EQ(TRVSetMessageBoxHandler(nullptr), &ScriptedBoxes::Handler);
    EXPECT_EQ(TRVSetMessageBoxHandler(&ScriptedBoxes::Handler), nullptr);
}

TEST(FaultBoxDeathTest, AbortEndsTheProcessWithCodeOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ScriptedBoxes::Install();
            ScriptedBoxes::answers = {TRV_IDABORT};
            ErrorBox("Fatal.");
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(
        {
            ScriptedBoxes::Install();
            ScriptedBoxes::answers = {TRV_IDABORT};
            WarningBox("Fatal.");
        },
        ::testing::ExitedWithCode(1), "");
}

} // namespace
