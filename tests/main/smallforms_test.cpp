// The help balloon (placement, height, the example list's save and restore, the design width),
// the About box's OS line and the Next Step form's links.
#include "aboutfm.h"
#include "globals.h"
#include "hintfm.h"
#include "nextstepfm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QRect kScreen(0, 0, 1000, 700);

void click(QWidget *widget)
{
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

void pressEscape(QWidget *widget)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &key);
}

// A balloon on a fixed screen with a fake word-and-clue editor behind it.
class BalloonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClueEditorRestoreText.clear();
        hint = std::make_unique<THintFm>();
        hint->SetScreenRect(kScreen);
        hint->SetClueEditorAccess([this] { return editorText; },
                                  [this](const QString &text) {
                                      editorText = text;
                                      ++editorWrites;
                                  });
    }
    void TearDown() override
    {
        hint.reset();
        ClueEditorRestoreText.clear();
    }

    int expectedHeight(int lines) const { return lines * (hint->MemoFontHeight() + 2) + 28; }

    std::unique_ptr<THintFm> hint;
    QString editorText = QStringLiteral("APPLE\tA fruit\nPEAR\tAnother fruit");
    int editorWrites = 0;
};

} // namespace

TEST_F(BalloonTest, FormHasTheNamedControlsAndAGlobal)
{
    EXPECT_EQ(HintFm, hint.get());
    EXPECT_EQ(hint->HintTextMemo->objectName(), "HintTextMemo");
    EXPECT_EQ(hint->CloseLnk->objectName(), "CloseLnk");
    EXPECT_EQ(hint->HintTimer->objectName(), "HintTimer");
    EXPECT_EQ(hint->CloseLnk->text(), "Close");
    EXPECT_FALSE(hint->HintTimer->isActive()); // not enabled at design
    EXPECT_TRUE(hint->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(hint->windowType(), Qt::Tool);
    EXPECT_EQ(hint->width(), hint->DesignWidth());
    hint.reset();
    EXPECT_EQ(HintFm, nullptr);
}

TEST_F(BalloonTest, PlacementKeepsTheBalloonOnTheScreen)
{
    const int w = hint->DesignWidth();
    struct Case {
        const char *name;
        int x, y;
        int left, top; // -1: computed below
    };
    const QString text = QStringLiteral("One short line.");
    hint->ShowBalloon(text, 600, 20, 200);
    const int h = hint->height();
    const int closeLeft = hint->CloseLnk->x();
    ASSERT_EQ(h, expectedHeight(1));
    ASSERT_GT(closeLeft, 0);
    ASSERT_LT(closeLeft, w);

    const Case cases[] = {
        {"normal place", 600, 200, 600 - w + closeLeft, 230},
        {"x = 10 goes to the left edge", 10, 200, 0, 230},
        {"negative x goes to the left edge", -50, 100, 0, 130},
        {"y below the bottom moves up to fit", 600, 900, 600 - w + closeLeft, 700 - h},
        {"y just too low moves up to fit", 600, 700 - h - 29, 600 - w + closeLeft, 700 - h},
        {"y that just fits stays", 600, 700 - h - 30, 600 - w + closeLeft, 700 - h},
        {"x at the right edge moves left to fit", 990, 200, 1000 - w, 230},
        {"above the top goes to the top", 600, -200, 600 - w + closeLeft, 0},
    };
    for (const Case &c : cases) {
        hint->ShowBalloon(text, c.x, 20, c.y);
        EXPECT_EQ(hint->pos(), QPoint(c.left, c.top)) << c.name;
        EXPECT_EQ(hint->size(), QSize(w, h)) << c.name;
        EXPECT_TRUE(hint->isVisible()) << c.name;
        EXPECT_TRUE(kScreen.contains(hint->geometry())) << c.name;
    }
    hint->CloseBalloon();
    EXPECT_FALSE(hint->isVisible());
}

TEST_F(BalloonTest, CloseLinkSitsAtTheBottom)
{
    hint->ShowBalloon(QStringLiteral("a\r\nb\r\nc\r\nd"), 500, 20, 100);
    EXPECT_EQ(hint->CloseLnk->y() + hint->CloseLnk->height() + THintFm::BorderWidth, hint->height());
    EXPECT_EQ(hint->HintTextMemo->toPlainText(), "a\nb\nc\nd");
    hint->CloseBalloon();
}

TEST_F(BalloonTest, HeightGrowsWithTheWrappedLines)
{
    hint->ShowBalloon(QStringLiteral("Short."), 500, 20, 100);
    EXPECT_EQ(hint->WrappedLineCount(), 1);
    EXPECT_EQ(hint->height(), expectedHeight(1));

    hint->ShowBalloon(QStringLiteral("First\r\n\r\nThird"), 500, 20, 100);
    EXPECT_EQ(hint->WrappedLineCount(), 3);
    EXPECT_EQ(hint->height(), expectedHeight(3));

    QString longText;
    for (int i = 0; i < 60; ++i)
        longText += QStringLiteral("word%1 ").arg(i);
    hint->ShowBalloon(longText, 500, 20, 100);
    const int wrapped = hint->WrappedLineCount();
    EXPECT_GT(wrapped, 3);
    EXPECT_EQ(hint->height(), expectedHeight(wrapped));

    hint->ShowBalloon(longText + QStringLiteral("\r\n\r\n") + longText, 500, 20, 100);
    EXPECT_EQ(hint->WrappedLineCount(), 2 * wrapped + 1);
    EXPECT_EQ(hint->height(), expectedHeight(2 * wrapped + 1));

    // A caller's wider balloon wraps into fewer lines.
    hint->CloseBalloon();
    hint->resize(hint->DesignWidth() * 2, hint->height());
    hint->ShowBalloon(longText, 500, 20, 100);
    EXPECT_LT(hint->WrappedLineCount(), wrapped);
    EXPECT_EQ(hint->height(), expectedHeight(hint->WrappedLineCount()));
    hint->CloseBalloon();
}

TEST_F(BalloonTest, TimerRunsForTheGivenSecondsAndCloses)
{
    hint->ShowBalloon(QStringLiteral("Hint"), 500, 28, 100);
    EXPECT_TRUE(hint->HintTimer->isActive());
    EXPECT_EQ(hint->HintTimer->interval(), 28000);
    // Shown again while showing: the new time starts over.
    hint->ShowBalloon(QStringLiteral("Hint"), 500, 180, 100);
    EXPECT_TRUE(hint->HintTimer->isActive());
    EXPECT_EQ(hint->HintTimer->interval(), 180000);
    // Nothing else closes it meanwhile.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 50)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(hint->isVisible());

    hint->HintTimer->start(1);
    clock.start();
    while (hint->isVisible() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(hint->isVisible());
    EXPECT_FALSE(hint->HintTimer->isActive());
}

TEST_F(BalloonTest, ClosesOnEscTheCloseLinkAndLosingTheFocus)
{
    hint->ShowBalloon(QStringLiteral("Hint"), 500, 20, 100);
    pressEscape(hint.get());
    EXPECT_FALSE(hint->isVisible());
    EXPECT_FALSE(hint->HintTimer->isActive());

    hint->ShowBalloon(QStringLiteral("Hint"), 500, 20, 100);
    click(hint->CloseLnk);
    EXPECT_FALSE(hint->isVisible());

    hint->ShowBalloon(QStringLiteral("Hint"), 500, 20, 100);
    hint->FormDeactivate();
    EXPECT_FALSE(hint->isVisible());

    hint->ShowBalloon(QStringLiteral("Hint"), 500, 20, 100);
    QEvent activation(QEvent::ActivationChange);
    if (!hint->isActiveWindow()) {
        QCoreApplication::sendEvent(hint.get(), &activation);
        EXPECT_FALSE(hint->isVisible());
    }
    hint->CloseBalloon();
    EXPECT_EQ(editorWrites, 0); // nothing was pending
}

TEST_F(BalloonTest, CloseLinkTurnsWhiteUnderTheMouse)
{
    hint->ShowBalloon(QStringLiteral("Hint"), 500, 20, 100);
    const QColor memoColor = hint->HintTextMemo->palette().color(QPalette::Base);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(hint->CloseLnk, &enter);
    EXPECT_EQ(hint->CloseLnk->palette().color(QPalette::Window), QColor(Qt::white));
    QCoreApplication::sendEvent(hint->HintTextMemo, &enter);
    EXPECT_EQ(hint->CloseLnk->palette().color(QPalette::Window), memoColor);
    hint->CloseBalloon();
}

TEST_F(BalloonTest, TwoExampleSavesThenCloseGiveBackTheOriginalList)
{
    const QString original = editorText;
    hint->ShowExampleWordList(25, 400);
    EXPECT_EQ(ClueEditorRestoreText, original);
    EXPECT_EQ(editorText, ExampleWordListText());
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->HintTimer->interval(), 30000);
    EXPECT_TRUE(hint->HintTextMemo->toPlainText().startsWith("EXAMPLE WORD LIST\n\nBelow is an example"));

    hint->ShowExampleWordList(25, 400); // the example again, while it shows
    EXPECT_EQ(ClueEditorRestoreText, original);
    EXPECT_EQ(editorText, ExampleWordListText());

    click(hint->CloseLnk);
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(editorText, original);
    EXPECT_TRUE(ClueEditorRestoreText.isEmpty());
}

TEST_F(BalloonTest, ExampleListHasFiveEntriesOfWordTabClue)
{
    const QStringList lines = ExampleWordListText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);
    const QStringList words = {"NewJersey", "Florida", "Texas", "California", "Hawaii"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(lines[i].section(u'\t', 0, 0), words[i]);
    EXPECT_EQ(lines[2], "Texas\tA big state");
    EXPECT_TRUE(InstructionsBalloonText().startsWith("ANSWERS:"));
    hint->ShowInstructions(25, 100);
    EXPECT_EQ(hint->HintTimer->interval(), 50000);
    hint->CloseBalloon();
}

TEST_F(BalloonTest, AnEmptyListIsSavedAsTheMarkAndComesBackEmpty)
{
    editorText.clear();
    hint->ShowExampleWordList(25, 400);
    EXPECT_EQ(ClueEditorRestoreText, QStringLiteral("\001"));
    EXPECT_EQ(editorText, ExampleWordListText());
    hint->CloseBalloon();
    EXPECT_EQ(editorText, QString());
    EXPECT_TRUE(ClueEditorRestoreText.isEmpty());
}

TEST_F(BalloonTest, ACloseWhileTheExampleShowsSavesNoExampleWords)
{
    const QString original = editorText;
    hint->ShowExampleWordList(25, 400);
    // Losing the focus does not close it while the list is pending.
    hint->FormDeactivate();
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(editorText, ExampleWordListText());

    // The window closes it (Esc here) before anything is saved: the user's list is back.
    pressEscape(hint.get());
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(editorText, original);
    EXPECT_FALSE(editorText.contains("NewJersey"));
    EXPECT_TRUE(ClueEditorRestoreText.isEmpty());

    // Nothing of the example stays behind: a later example saves the user's list again, and a
    // close with nothing pending leaves the editor alone.
    const int writes = editorWrites;
    hint->CloseBalloon();
    EXPECT_EQ(editorWrites, writes);
    hint->ShowExampleWordList(25, 400);
    EXPECT_EQ(ClueEditorRestoreText, original);

    // The timer's close restores too.
    hint->HintTimer->start(1);
    QElapsedTimer clock;
    clock.start();
    while (hint->isVisible() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(editorText, original);
    EXPECT_TRUE(ClueEditorRestoreText.isEmpty());
}

TEST_F(BalloonTest, TheDesignWidthComesBackAfterAWidenedBalloonCloses)
{
    const int design = hint->DesignWidth();
    hint->resize(475, hint->height());
    hint->ShowBalloon(QStringLiteral("FREEFORM PUZZLES -- SOME WORDS OMITTED."), 900, 180, 100);
    EXPECT_EQ(hint->width(), 475);
    EXPECT_EQ(hint->x(),
              900 - 475 + hint->CloseLnk->x() > 1000 - 475 ? 1000 - 475 : 900 - 475 + hint->CloseLnk->x());
    EXPECT_EQ(hint->HintTextMemo->width(), 475 - 2 * THintFm::BorderWidth);
    hint->CloseBalloon();
    EXPECT_EQ(hint->width(), design);

    // A plain balloon afterwards has the design width again.
    hint->ShowBalloon(QStringLiteral("Hint"), 500, 20, 100);
    EXPECT_EQ(hint->width(), design);
    hint->CloseBalloon();
}

TEST_F(BalloonTest, DefaultScreenIsThePrimaryScreen)
{
    THintFm other;
    EXPECT_TRUE(other.ScreenRect().isValid());
    other.SetScreenRect(kScreen);
    EXPECT_EQ(other.ScreenRect(), kScreen);
    EXPECT_EQ(HintFm, &other);
}

TEST(AboutFmTest, OSLineForBothFlags)
{
    TAboutFm admin(true);
    EXPECT_EQ(admin.OSLbl->objectName(), "OSLbl");
    EXPECT_EQ(admin.OSLbl->text(),
              QStringLiteral("OS:  ") + GetWindowsVersionName() + QStringLiteral("  (admin)"));
    TAboutFm user(false);
    EXPECT_EQ(user.OSLbl->text(),
              QStringLiteral("OS:  ") + GetWindowsVersionName() + QStringLiteral("  (non admin)"));
    EXPECT_EQ(TAboutFm::OSText(false), user.OSLbl->text());
}

TEST(AboutFmTest, CaptionPictureLinesAndLinks)
{
    TAboutFm about(false);
    EXPECT_EQ(about.windowTitle(), "About Tarvel");
    EXPECT_EQ(about.DescriptionLbl->text(), "Custom Crossword Puzzle Creation Software");
    EXPECT_EQ(about.EmailLnk->text(), "Click here to email us");
    ASSERT_FALSE(about.AboutImage->pixmap().isNull());
    EXPECT_EQ(about.size(), about.AboutImage->pixmap().size()); // the client area takes its size
    EXPECT_EQ(about.OKBtn->text(), "OK");

    click(about.EmailLnk); // unset: nothing happens
    int mails = 0;
    about.OnEmailUs = [&mails] { ++mails; };
    click(about.EmailLnk);
    EXPECT_EQ(mails, 1);

    about.show();
    about.OKBtn->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

TEST(NextStepFmTest, LinksRunTheirCommandsAndAreDisabledWhenUnset)
{
    TNextStepFm form;
    EXPECT_EQ(form.windowTitle(), "Tarvel - The Next Step");
    QLabel *links[] = {form.SampleWordListsLnk, form.ImportLnk, form.InstructionsLnk, form.ExampleLnk};
    const QStringList captions = {"sample word lists", "import", "instructions", "example"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(links[i]->text(), captions[i]);
        EXPECT_FALSE(links[i]->isEnabled()) << captions[i].toStdString();
    }

    QStringList ran;
    for (QLabel *link : links)
        click(link); // disabled: nothing runs
    EXPECT_TRUE(ran.isEmpty());

    form.SetSampleWordListsAction([&ran] { ran << "sample"; });
    form.SetImportAction([&ran] { ran << "import"; });
    form.SetInstructionsAction([&ran] { ran << "instructions"; });
    form.SetExampleAction([&ran] { ran << "example"; });
    for (QLabel *link : links) {
        EXPECT_TRUE(link->isEnabled());
        click(link);
    }
    EXPECT_EQ(ran, QStringList({"sample", "import", "instructions", "example"}));

    form.SetExampleAction({});
    EXPECT_FALSE(form.ExampleLnk->isEnabled());
    click(form.ExampleLnk);
    EXPECT_EQ(ran.size(), 4);
}
