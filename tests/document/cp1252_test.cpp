// Windows-1252 conversion, line ends and the safe file write.
#include "cp1252.h"
#include "prompter.h"
#include "trv600.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <functional>
#include <sys/resource.h>

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    bool lossless = false;
    EXPECT_EQ(Cp1252::fromUnicode(Cp1252::toUnicode(all), &lossless), all);
    EXPECT_TRUE(lossless);
}

TEST(Cp1252, HighTableAndUnencodableCharacters)
{
    EXPECT_EQ(Cp1252::toChar(0x80), QChar(0x20AC));
    EXPECT_EQ(Cp1252::toChar(0x8E), QChar(0x017D));
    EXPECT_EQ(Cp1252::toChar(0x9F), QChar(0x0178));
    EXPECT_EQ(Cp1252::toChar(0xE9), QChar(0x00E9));
    EXPECT_TRUE(Cp1252::canEncode(QString::fromUtf8("Šœ€ÿ")));
    EXPECT_FALSE(Cp1252::canEncode(QChar(0x0100)));
    bool lossless = true;
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("a\u0100b"), &lossless), QByteArray("a?b"));
    EXPECT_FALSE(lossless);
}

TEST(Cp1252, LineEnds)
{
    const QList<QByteArray> expected = {"one", "", "two", "three"};
    EXPECT_EQ(Cp1252::splitLines("one\r\n\r\ntwo\nthree"), expected);
    EXPECT_EQ(Cp1252::splitLines("one\r\n\r\ntwo\nthree\r\n"), expected);
    EXPECT_EQ(Cp1252::joinLinesCrLf({"a", "b"}), QByteArray("a\r\nb\r\n"));
}

TEST(Cp1252, TextFileRoundTrip)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("t.txt");
    const QStringList lines = {QString::fromUtf8("Ça va"), "", QString::fromUtf8("€ 5")};
    ASSERT_TRUE(Cp1252::writeTextLines(name, lines));
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xC7"
                                      "a va\r\n\r\n\x80"
                                      " 5\r\n"));
    QStringList back;
    ASSERT_TRUE(Cp1252::readTextLines(name, &back));
    EXPECT_EQ(back, lines);
}

TEST(Cp1252, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("keep.txt");
    ASSERT_TRUE(Cp1252::writeFileSafely(name, "old contents"));
    // A file-size limit makes the write itself fail half-way, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool written = Cp1252::writeFileSafely(name, QByteArray(100000, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.txt"});
}

TEST(Cp1252, WriteIntoMissingFolderFails)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(Cp1252::writeFileSafely(dir.filePath("no/such/file.txt"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Prompter, ScriptedAnswersAndRecord)
{
    ScriptedPrompter script;
    script.answers = {Prompter::No};
    EXPECT_EQ(askConfirmation("Replace?", Prompter::Yes | Prompter::No), Prompter::No);
    showError("Broken", 990030);
    ASSERT_EQ(script.boxes.size(), 2);
    EXPECT_EQ(script.boxes[0].caption, "Confirm");
    EXPECT_EQ(script.boxes[1].text, "Broken");
    EXPECT_EQ(script.boxes[1].kind, Prompter::Error);
    EXPECT_EQ(script.boxes[1].helpContext, 990030);
    EXPECT_TRUE(script.boxes[1].buttons & Prompter::Help);
    EXPECT_EQ(script.boxes[1].answer, Prompter::Ok);
}

TEST(Prompter, EngineBoxesGoThroughThePrompter)
{
    ScriptedPrompter script;
    installEngineMessageHandler();
    TRVMessageBoxProc handler = TRVSetMessageBoxHandler(nullptr);
    ASSERT_NE(handler, nullptr);
    script.answers = {Prompter::Ignore};
    EXPECT_EQ(handler("Bad \xE9tat", "Warning", TRV_MB_ABORTRETRYIGNORE), TRV_IDIGNORE);
    EXPECT_EQ(handler("Note", "Message", TRV_MB_OK), TRV_IDOK);
    ASSERT_EQ(script.boxes.size(), 2);
    EXPECT_EQ(script.boxes[0].text, QString::fromUtf8("Bad état"));
    EXPECT_EQ(script.boxes[0].kind, Prompter::Warning);
    EXPECT_EQ(script.boxes[1].caption, "Message");
}

TEST(Prompter, MessageBoxShowsTheTextAsPlainText)
{
    // A real box, answered by a timer: the text is shown as given, never read as markup, and
    // Help calls the handler without answering the box.
    MessageBoxPrompter boxes;
    QList<int> helped;
    boxes.helpHandler = [&](int context) { helped.append(context); };
    QStringList seen;
    int round = 0;
    QObject guard; // timers still pending when the test ends die with it
    std::function<void()> answer = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, &guard, answer);
            return;
        }
        seen.append(box->textFormat() == Qt::PlainText ? box->text() : QString("(markup)"));
        const bool first = round++ == 0;
        box->button(first ? QMessageBox::Help : QMessageBox::No)->click();
        if (first)
            QTimer::singleShot(10, &guard, answer); // the box comes back after Help
    };
    QTimer::singleShot(10, &guard, answer);
    const QString text = "The file <b>x</b>.trv already exists.";
    EXPECT_EQ(boxes.ask(text, QString(), Prompter::Confirmation,
                        Prompter::Yes | Prompter::No | Prompter::Help, 990010),
              Prompter::No);
    EXPECT_EQ(seen.join(" / ").toStdString(), (text + " / " + text).toStdString());
    EXPECT_EQ(helped, QList<int>{990010});
}
