// Main window: start-up order, idle, recent files, settings store, first-run file, window
// rectangle, desktop picture, close question, hints, exceptions and the frame itself.
#include "mainwindowtest.h"
#include "puzzlefiles.h"
#include "testsupport.h"

#include "myexceptionfm.h"
#include "uidialogs.h"

#include "application.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "desktopimage.h"
#include "fileio.h"
#include "globals.h"
#include "layoutsettings.h"
#include "mainfm.h"
#include "myoverrides.h"
#include "namevaluelines.h"
#include "openingscreen.h"
#include "prefsstore.h"
#include "prompter.h"
#include "recentfiles.h"
#include "registry.h"
#include "startup.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <stdexcept>

namespace {

// ---- Start-up and idle --------------------------------------------------------------------

TEST_F(MainWindowTest, StartUpMakesFormsInOrderAndOpensPendingFileWhenReady)
{
    ScriptedPrompter prompter;
    struct Made {
        QString form;
        bool ready;
    };
    QList<Made> made;
    QList<std::unique_ptr<QWidget>> forms;
    QStringList all = TStartUp::FormsBeforeSplash();
    for (const auto &f : TStartUp::FormsWithSplash())
        all.append(f.first);
    for (const QString &name : all)
        TStartUp::SetFormFactory(name, [&made, name] {
            made.append({name, MainFormReady});
            return new QWidget;
        });

    const QString pending = programFile("pending.trv");
    writeFile(pending, "no puzzle here\r\n");
    OpenPuzzleFile(pending); // chosen while start-up runs: only remembered
    EXPECT_TRUE(prompter.boxes.isEmpty());

    TStartUp startUp;
    startUp.Run();
    EXPECT_EQ(startUp.CreatedForms(), QStringList{"TMainFm"} + all);
    ASSERT_EQ(made.size(), all.size());
    for (const Made &m : made)
        EXPECT_FALSE(m.ready) << m.form.toStdString();
    EXPECT_TRUE(MainFormReady);
    EXPECT_EQ(boxesWithText(prompter, pending + " has an unknown file format."), 1);
    EXPECT_EQ(startUp.ProgressShown(), (QList<int>{3, 11, 20, 52, 58, 65, 79, 84, 87, 93, 100}));
    EXPECT_EQ(OpeningScreen, nullptr);
    ASSERT_NE(startUp.MainForm(), nullptr);
    EXPECT_TRUE(startUp.MainForm()->isVisible());
}

TEST_F(MainWindowTest, StartUpFailureStillLeavesAUsableWindow)
{
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    QStringList shown;
    dialogs.OnModal = [&shown](QDialog &dialog) {
        if (auto *form = qobject_cast<TMyExceptionFm *>(&dialog))
            shown.append(form->ExceptionMesgLbl->text());
    };
    TStartUp::SetFormFactory("TSpellingDlg", []() -> QWidget * { throw std::runtime_error("no spelling"); });
    TStartUp startUp;
    startUp.Run();
    EXPECT_EQ(shown, QStringList{"no spelling"});
    EXPECT_FALSE(MainFormReady); // the rest of start-up was skipped
    EXPECT_EQ(OpeningScreen, nullptr);
    EXPECT_TRUE(startUp.MainForm()->isVisible());
}

TEST_F(MainWindowTest, FirstParameterOpensOnceOnFirstIdle)
{
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    const QString box = CommandLineFile() + " has an unknown file format.";
    TStartUp startUp;
    startUp.Run();
    EXPECT_EQ(boxesWithText(prompter, box), 0); // nothing before the first idle
    TMainFm *window = startUp.MainForm();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxesWithText(prompter, box), 1);
    EXPECT_FALSE(FirstIdle);
    // A first run (no puzzle type chosen yet) shows the tour first; leaving it chooses freeform.
    EXPECT_EQ(dialogs.Asked, QStringList{QStringLiteral("modal: TourDlg")});
    EXPECT_TRUE(SetupLoose);
    // Later idle passes, after more messages, never open it again.
    const int passes = window->IdlePasses();
    for (int i = 0; i < 3; ++i) {
        window->resize(900 + i, 650);
        QCoreApplication::processEvents();
    }
    EXPECT_GT(window->IdlePasses(), passes);
    EXPECT_EQ(boxesWithText(prompter, box), 1);
    // Once a type is chosen, a first idle shows no tour.
    FirstIdle = true;
    window->resize(950, 650);
    QCoreApplication::processEvents();
    EXPECT_FALSE(FirstIdle);
    EXPECT_EQ(dialogs.Asked.size(), 1);
}

TEST_F(MainWindowTest, OpenedPuzzleNamesTheWindowAndClosesWithoutQuestion)
{
    const QString puzzle = QStringLiteral(TRV_TEST_DATA) + "/clues/rich.trv";
    ASSERT_TRUE(QFileInfo::exists(puzzle));
    TMainFm *window = makeWindow();
    window->show();
    MainFormReady = true;
    ScriptedPrompter prompter;
    window->ReadPuzzleFile(puzzle);
    window->AfterPuzzleOpened(puzzle);
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  rich.trv");
    EXPECT_EQ(window->RecentFiles()->Path(1), puzzle);
    EXPECT_EQ(window->mFileRecent[0]->text(), "&1 rich.trv");
    EXPECT_TRUE(window->DocumentLoaded);
    EXPECT_FALSE(window->IsModified());
    prompter.boxes.clear();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

TEST_F(MainWindowTest, IdleClearsWordBankFlagsEvenBeforeReady)
{
    TMainFm *window = makeWindow();
    IgnoreWordBankCBClick = true;
    WordBankCBCheckpointing = true;
    window->OnIdleEvent();
    EXPECT_FALSE(IgnoreWordBankCBClick);
    EXPECT_FALSE(WordBankCBCheckpointing);
    EXPECT_TRUE(FirstIdle); // the parameter waits for the ready window
}

// ---- Recent files -------------------------------------------------------------------------

class RecentFilesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_separator = m_menu.addSeparator();
        for (int i = 0; i < 6; ++i)
            m_items[i] = m_menu.addAction(QString());
    }
    std::unique_ptr<TRecentFiles> makeList()
    {
        auto list = std::make_unique<TRecentFiles>("Software\\Halvard, Inc.\\TRV\\Recent", m_separator);
        for (QAction *item : m_items)
            list->AddMenuItem(item);
        return list;
    }
    QStringList stored()
    {
        QSettings s = programKey();
        s.beginGroup("Recent");
        QStringList values;
        for (int i = 1; i <= 6; ++i)
            values.append(s.contains(QString::number(i)) ? s.value(QString::number(i)).toString() : "<none>");
        return values;
    }
    QMenu m_menu;
    QAction *m_separator = nullptr;
    QAction *m_items[6] = {};
};

TEST_F(RecentFilesTest, SeventhPathDropsOldestAndOtherCaseMovesToTop)
{
    auto list = makeList();
    EXPECT_FALSE(m_separator->isVisible());
    for (int i = 1; i <= 7; ++i)
        list->AddFile(QString("/home/u/p%1.trv").arg(i));
    EXPECT_EQ(stored(), (QStringList{"/home/u/p7.trv", "/home/u/p6.trv", "/home/u/p5.trv", "/home/u/p4.trv",
                                     "/home/u/p3.trv", "/home/u/p2.trv"}));
    list->AddFile("/HOME/U/P4.TRV");
    EXPECT_EQ(stored(), (QStringList{"/HOME/U/P4.TRV", "/home/u/p7.trv", "/home/u/p6.trv", "/home/u/p5.trv",
                                     "/home/u/p3.trv", "/home/u/p2.trv"}));
    EXPECT_EQ(m_items[0]->text(), "&1 P4.TRV");
    EXPECT_EQ(m_items[5]->text(), "&6 p2.trv");
    EXPECT_TRUE(m_separator->isVisible());

    // The list is read back by a new instance.
    auto again = makeList();
    EXPECT_EQ(again->Path(1), "/HOME/U/P4.TRV");
    EXPECT_EQ(again->Path(6), "/home/u/p2.trv");
}

TEST_F(RecentFilesTest, ItemsFindTheirPathByDataNotCaption)
{
    auto list = makeList();
    list->AddFile("/b/same.trv");
    list->AddFile("/a/same.trv");
    EXPECT_EQ(list->FileOfMenuItem(m_items[0]), "/a/same.trv");
    EXPECT_EQ(list->FileOfMenuItem(m_items[1]), "/b/same.trv");
    m_items[1]->setText(m_items[0]->text()); // a caption is no key
    EXPECT_EQ(list->FileOfMenuItem(m_items[1]), "/b/same.trv");
    QAction stranger("&1 same.trv");
    EXPECT_EQ(list->FileOfMenuItem(&stranger), "");
    EXPECT_EQ(list->FileOfMenuItem(m_items[2]), "");
    EXPECT_FALSE(m_items[2]->isVisible());
    EXPECT_EQ(m_items[2]->text(), "");
}

TEST_F(RecentFilesTest, EmptySlotsDeleteTheirValues)
{
    {
        QSettings s = programKey();
        s.beginGroup("Recent");
        s.setValue("1", "/x/a.trv");
        s.setValue("3", "");
        s.setValue("6", "");
    }
    auto list = makeList();
    list->AddFile("/x/b.trv");
    EXPECT_EQ(stored(), (QStringList{"/x/b.trv", "/x/a.trv", "<none>", "<none>", "<none>", "<none>"}));
}

TEST_F(RecentFilesTest, TwentyFifthItemIsRefused)
{
    TRecentFiles list("Software\\Halvard, Inc.\\TRV\\Recent", nullptr);
    QList<std::shared_ptr<QAction>> items;
    for (int i = 0; i < TRecentFiles::MaxSlots; ++i) {
        items.append(std::make_shared<QAction>());
        list.AddMenuItem(items.last().get());
    }
    QAction extra;
    EXPECT_THROW(list.AddMenuItem(&extra), std::logic_error);
}

// ---- Settings store -----------------------------------------------------------------------

TEST_F(MainWindowTest, FirstStartWithoutKeyUsesBuiltInDefaultsAndMakesNoInstallNumber)
{
    TMainFm *window = makeWindow();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QSize size = TMainFm::FirstRunWindowSize(screen);
    const QRect expected = TMainFm::ClampedWindowRect(QRect(20, 10, size.width(), size.height()), screen);
    EXPECT_EQ(QRect(Left, Top, Width, Height), expected);
    EXPECT_EQ(window->windowState(), Qt::WindowNoState);
    EXPECT_EQ(View, 0);
    EXPECT_TRUE(PencilThemeColor);
    EXPECT_TRUE(PencilThemeBold);
    EXPECT_FALSE(PencilHideAnswer);
    EXPECT_TRUE(AutoPatternNotice);
    EXPECT_TRUE(AutoClueSymmetrical);
    EXPECT_FALSE(AutoClueFreeform);
    EXPECT_EQ(ColorScheme, 15983055);
    EXPECT_FALSE(programKey().contains("ConsistentRandomNumber"));
    EXPECT_TRUE(window->mClueAutomaticallySymmetrical->isChecked());
    EXPECT_FALSE(window->mClueAutomaticallyFreeform->isChecked());
}

TEST_F(MainWindowTest, SettingsRoundTripKeepsEveryValue)
{
    TMainFm *window = makeWindow();
    window->setWindowState(Qt::WindowNoState);
    Top = 40;
    Left = 30;
    Width = 700;
    Height = 480;
    window->move(Left, Top);
    window->resize(Width, Height);
    View = vmClues;
    PencilFont = "Arial";
    PencilSize = 55;
    PencilColor = 0x123456;
    PencilThemeColor = false;
    PencilThemeBold = true;
    PencilHideAnswer = true;
    SetupLoose = false;
    SetupTight = true;
    DesktopColor = 0x00FF00;
    ColorScheme = 0x0A0B0C;
    PageColor = 0xFEFEFE;
    EditTextSize = 11;
    AutoPatternNotice = false;
    AutoClueSymmetrical = false;
    AutoClueFreeform = true;
    window->ShowNotebookPage(2);
    WriteRegistry();

    QSettings raw = programKey();
    EXPECT_EQ(raw.value("NotebookPage").toInt(), 2);
    EXPECT_EQ(raw.value("RemovedCellColor").toInt(), 0xFEFEFE);
    EXPECT_EQ(raw.value("AutoClue").toInt(), 0);
    EXPECT_EQ(raw.value("PencilHideAnswer").toInt(), 1); // Booleans as the integers 0 and 1
    EXPECT_EQ(raw.value("WindowState").toInt(), 0);

    m_window.reset();
    InitGlobals();
    SetupTight = false;
    window = makeWindow();
    EXPECT_EQ(QRect(Left, Top, Width, Height), QRect(30, 40, 700, 480));
    EXPECT_EQ(window->windowState(), Qt::WindowNoState);
    EXPECT_EQ(View, 3);
    EXPECT_EQ(PencilSize, 55);
    EXPECT_EQ(PencilColor, 0x123456);
    EXPECT_FALSE(PencilThemeColor);
    EXPECT_TRUE(PencilThemeBold);
    EXPECT_TRUE(PencilHideAnswer);
    EXPECT_FALSE(SetupLoose);
    EXPECT_TRUE(SetupTight);
    EXPECT_TRUE(window->TightRB->isChecked());
    EXPECT_EQ(ColorScheme, 0x0A0B0C);
    EXPECT_EQ(DesktopColor, 0x0A0B0C); // the colour scheme replaces the stored desktop colour
    EXPECT_EQ(EditTextSize, 11);
    EXPECT_FALSE(AutoPatternNotice);
    EXPECT_FALSE(AutoClueSymmetrical);
    EXPECT_TRUE(AutoClueFreeform);
    EXPECT_FALSE(window->mClueAutomaticallySymmetrical->isChecked());
    EXPECT_TRUE(window->mClueAutomaticallyFreeform->isChecked());
    EXPECT_EQ(window->ActiveNotebookPage(), 0); // the page is stored, not read back

    // The installation number and date are made on the first start that finds the key, once.
    const QString number = InstallNumber;
    const QString date = InstallDate;
    bool ok = false;
    const int n = number.toInt(&ok);
    EXPECT_TRUE(ok);
    EXPECT_GE(n, 1000);
    EXPECT_LE(n, 999999999);
    EXPECT_FALSE(date.isEmpty());
    EXPECT_EQ(programKey().value("ConsistentRandomNumber").toString(), number);
    m_window.reset();
    window = makeWindow();
    EXPECT_EQ(InstallNumber, number);
    EXPECT_EQ(InstallDate, date);
}

TEST_F(MainWindowTest, StoredPositionWithoutOtherValuesGivesTheIfAbsentColumn)
{
    {
        QSettings s = programKey();
        s.setValue("Top", 60);
        s.setValue("PencilFont", "No Such Font");
    }
    EditTextSize = 13;
    PencilThemeBold = true;
    Left = 333; // a value left over from elsewhere: the window's own rectangle wins
    TMainFm *window = makeWindow();
    EXPECT_EQ(Top, 60);
    EXPECT_EQ(QRect(Left, Top, Width, Height), QRect(8, 60, 1000, 700)); // the design rectangle
    EXPECT_EQ(window->windowState(), Qt::WindowMaximized);
    EXPECT_EQ(View, 2);
    EXPECT_EQ(EditTextSize, 13);
    EXPECT_FALSE(PencilThemeBold);
    EXPECT_TRUE(AutoPatternNotice);
    EXPECT_TRUE(AutoClueSymmetrical);
    EXPECT_FALSE(AutoClueFreeform);
    EXPECT_EQ(ColorScheme, 15983055);
    EXPECT_NE(PencilFont, "No Such Font");
    EXPECT_FALSE(programKey().value("ConsistentRandomNumber").toString().isEmpty());
}

TEST_F(MainWindowTest, MinimisedWindowIsStoredAsNormal)
{
    const struct {
        Qt::WindowStates state;
        int stored;
    } cases[] = {{Qt::WindowMinimized, 0},
                 {Qt::WindowMinimized | Qt::WindowMaximized, 0}, // minimised from maximised
                 {Qt::WindowMaximized, 2},
                 {Qt::WindowNoState, 0}};
    TMainFm *window = makeWindow();
    for (const auto &c : cases) {
        window->setWindowState(c.state);
        WriteRegistry();
        EXPECT_EQ(programKey().value("WindowState").toInt(), c.stored) << int(c.state);
    }
}

TEST_F(MainWindowTest, CorruptSettingsFileGivesDefaults)
{
    const QString path = programKey().fileName();
    QDir().mkpath(QFileInfo(path).path());
    static const char junk[] = "\x00\xff[[[=\n@Variant(\x01\x02\n=junk\n[Recent\n1=";
    writeFile(path, QByteArray(junk, sizeof junk - 1));
    TMainFm *window = makeWindow();
    EXPECT_NE(window, nullptr);
    EXPECT_GE(Width, 680);
    EXPECT_GE(Height, 470);

    // Closing saves the preferences over the damaged file, and the next start reads them.
    PencilSize = 77;
    WriteRegistry();
    QSettings repaired = programKey();
    EXPECT_EQ(repaired.status(), QSettings::NoError);
    EXPECT_EQ(repaired.value("PencilSize").toInt(), 77);
    PencilSize = 60;
    makeWindow();
    EXPECT_EQ(PencilSize, 77);
}

TEST_F(MainWindowTest, WordBankSettingsReadTheirLists)
{
    const struct {
        const char *mode;
        const char *sort;
        int modeIndex;
        int sortIndex;
    } cases[] = {
        {"InClues", "Given", 0, 2},
        {"Bottom", "GivenComma", 1, 3},
        {"Elsewhere", "Backwards", 1, 0},
        {"inclues", "alpha", 1, 0},
    };
    TMainFm *window = makeWindow();
    for (const auto &c : cases) {
        QSettings s = programKey();
        s.setValue("WordBankMode", c.mode);
        s.setValue("WordBankSort", c.sort);
        s.setValue("WordBankHeader", "WORDS:");
        s.setValue("WordBankCB", 1);
        s.sync();
        window->WordBankCB->setChecked(false);
        IgnoreWordBankCBClick = false;
        window->LoadWordBankSettings();
        EXPECT_EQ(WordBankMode, c.modeIndex) << c.mode;
        EXPECT_EQ(WordBankSort, c.sortIndex) << c.sort;
        EXPECT_EQ(WordBankHeader, "WORDS:");
        EXPECT_TRUE(window->WordBankCB->isChecked());
        EXPECT_TRUE(IgnoreWordBankCBClick);
    }
}

// ---- First-run file -----------------------------------------------------------------------

TEST_F(MainWindowTest, FirstRunFileWithMissingNamesAndJunkLines)
{
    writeFile(programFile("trv.ini"), "garbage line\r\n=orphan\r\ntop=33\r\nPENCILSIZE=70\r\nSetupTight=T\r\n"
                                      "SetupLoose=t\r\npencilthemecolor=T\r\nAutoClueFreeform=yes\r\n");
    TMainFm *window = makeWindow();
    EXPECT_EQ(Top, 33);
    EXPECT_EQ(Left, 50); // kept from the no-key start
    EXPECT_EQ(PencilSize, 70);
    EXPECT_EQ(window->windowState(), Qt::WindowMaximized);
    EXPECT_EQ(View, 2);
    EXPECT_TRUE(SetupTight);
    EXPECT_FALSE(SetupLoose); // only exactly "T"
    EXPECT_TRUE(PencilThemeColor);
    EXPECT_FALSE(PencilThemeBold);
    EXPECT_FALSE(PencilHideAnswer);
    EXPECT_TRUE(AutoPatternNotice);
    EXPECT_TRUE(AutoClueSymmetrical);
    EXPECT_FALSE(AutoClueFreeform);
    EXPECT_EQ(ColorScheme, 15983055);
}

TEST_F(MainWindowTest, FirstRunFileInDataFolderWhenProgramFolderHasNone)
{
    const QString shared = GetIniFileName(true);
    ASSERT_TRUE(shared.startsWith(TestHome())) << shared.toStdString();
    writeFile(shared, "PencilSize=44\r\nWindowState=0\r\n");
    makeWindow();
    EXPECT_EQ(PencilSize, 44);
    EXPECT_EQ(m_window->windowState(), Qt::WindowNoState);
}

TEST(PreferenceFlags, TextsGiveTheirBooleans)
{
    const struct {
        QStringList lines;
        bool themeColor, autoNotice, autoSymmetrical, autoFreeform;
    } cases[] = {
        {{}, false, true, true, false},
        {{"PencilThemeColor=T", "AutoPatternNotice=F", "AutoClueFreeform=T"}, true, false, true, true},
        {{"AutoClue=F"}, false, true, false, false},
        {{"AutoClue=F", "AutoClueSymmetrical=T"}, false, true, true, false},
        {{"PencilThemeColor=true", "AutoPatternNotice=no", "AutoClueFreeform=t"}, false, true, true, false},
    };
    for (const auto &c : cases) {
        ReadPreferenceFlags(TNameValueLines(c.lines));
        const std::string what = c.lines.join(",").toStdString();
        EXPECT_EQ(PencilThemeColor, c.themeColor) << what;
        EXPECT_EQ(AutoPatternNotice, c.autoNotice) << what;
        EXPECT_EQ(AutoClueSymmetrical, c.autoSymmetrical) << what;
        EXPECT_EQ(AutoClueFreeform, c.autoFreeform) << what;
    }
}

// ---- Window rectangle ---------------------------------------------------------------------

TEST(WindowRect, ClampTable)
{
    const QSize screen(1280, 800);
    const struct {
        QRect in, out;
    } cases[] = {
        {{20, 10, 900, 700}, {20, 10, 900, 700}},       {{1200, 750, 900, 700}, {1180, 700, 900, 700}},
        {{1180, 700, 900, 700}, {1180, 700, 900, 700}}, {{-50, -20, 100, 100}, {-50, -20, 680, 470}},
        {{0, 0, 679, 469}, {0, 0, 680, 470}},           {{5000, 5000, 2000, 2000}, {1180, 700, 2000, 2000}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMainFm::ClampedWindowRect(c.in, screen), c.out);
}

TEST(WindowRect, FirstRunSizeTable)
{
    const struct {
        QSize screen, size;
    } cases[] = {
        {{1280, 800}, {960, 680}},
        {{800, 600}, {800, 600}},
        {{3840, 2160}, {1550, 1150}},
        {{1366, 768}, {1025, 653}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMainFm::FirstRunWindowSize(c.screen), c.size);
}

// ---- Desktop picture ----------------------------------------------------------------------

QByteArray smallJpeg()
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 16;
    info.image_height = 8;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    unsigned char row[16 * 3];
    for (int x = 0; x < 16 * 3; ++x)
        row[x] = static_cast<unsigned char>(x * 5);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray data(reinterpret_cast<const char *>(buffer), static_cast<int>(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return data;
}

TEST_F(MainWindowTest, DesktopPictureSizeLimit)
{
    const QByteArray jpeg = smallJpeg();
    ASSERT_FALSE(DecodeJpeg(jpeg).isNull());
    const struct {
        qint64 size;
        bool loads;
    } cases[] = {{jpeg.size(), true}, {12799999, true}, {12800000, false}};
    const QString path = programFile("TRVDesktopImage.jpg");
    for (const auto &c : cases) {
        QByteArray padded = jpeg;
        padded.append(QByteArray(int(c.size - jpeg.size()), '\0')); // after the end marker
        writeFile(path, padded);
        ASSERT_EQ(QFileInfo(path).size(), c.size);
        const QImage image = LoadDesktopJpeg(path);
        EXPECT_EQ(!image.isNull(), c.loads) << c.size;
        if (c.loads) {
            EXPECT_EQ(image.size(), QSize(16, 8));
        }
    }
    TMainFm *window = makeWindow(); // picture too large: none, and no message
    EXPECT_TRUE(window->DesktopImage().isNull());
    writeFile(path, jpeg);
    window->LoadDesktopImage(path);
    EXPECT_FALSE(window->DesktopImage().isNull());
}

TEST(DesktopPicture, BadFilesGiveNoPicture)
{
    QByteArray truncated = smallJpeg();
    truncated.truncate(truncated.size() / 3);
    for (const QByteArray &bytes : {QByteArray(), QByteArray("not a picture at all"), truncated,
                                    QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\xFF\xFF\xFF\xFF\x03", 12)})
        EXPECT_TRUE(DecodeJpeg(bytes).isNull() || truncated == bytes);
    EXPECT_TRUE(LoadDesktopJpeg("/nonexistent/TRVDesktopImage.jpg").isNull());
}

// ---- Closing ------------------------------------------------------------------------------

TEST_F(MainWindowTest, CloseQuestionYesNoCancel)
{
    const QString question = "The current puzzle is unsaved.  Do you want to save it?";
    const struct {
        bool modified;
        bool wordsTyped;
        QList<Prompter::Button> answers;
        bool closes;
        int boxes;
    } cases[] = {
        {false, false, {}, true, 0},
        {true, false, {Prompter::No}, true, 1},
        {true, false, {Prompter::Cancel}, false, 1},
        {true, false, {Prompter::Yes}, false, 1},    // Save As did not save: the window stays
        {false, true, {Prompter::Cancel}, false, 1}, // unsaved words count as a change
    };
    for (const auto &c : cases) {
        InitGlobals();
        clearSettings();
        TMainFm *window = makeWindow();
        window->show();
        ScriptedPrompter prompter;
        prompter.answers = c.answers;
        PuzzleModified = c.modified;
        if (c.wordsTyped)
            window->ClueEditor->SetAllText("LION\tbig cat\n");
        EXPECT_EQ(window->close(), c.closes);
        ASSERT_EQ(prompter.boxes.size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(prompter.boxes[0].text, question);
            EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Yes | Prompter::No | Prompter::Cancel);
        }
        EXPECT_EQ(window->isVisible(), !c.closes);
        EXPECT_EQ(MainFormClosing, c.closes);
        EXPECT_EQ(PuzzleModified, c.modified); // cancelling keeps everything
        // Closing writes the preferences.
        EXPECT_EQ(programKey().contains("Top"), c.closes);
    }
}

// ---- Hints, exceptions, labels, folders ---------------------------------------------------

TEST_F(MainWindowTest, HintShowsInCaptionAndEmptyHintRestoresIt)
{
    TMainFm *window = makeWindow();
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  Untitled");
    QStatusTipEvent tip("Make the puzzle");
    QCoreApplication::sendEvent(window, &tip);
    EXPECT_EQ(window->windowTitle(), "Make the puzzle");
    QStatusTipEvent none("");
    QCoreApplication::sendEvent(window, &none);
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  Untitled");
    window->SavePuzzleDialog.FileName = "/home/u/Some Puzzle.trv";
    window->UpdateCaption();
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  Some Puzzle.trv");
}

class Thrower : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Something broke");
        return QObject::event(e);
    }
};

TEST_F(MainWindowTest, ExceptionsReachTheHandlerUnlessSuppressed)
{
    TMainFm *window = makeWindow();
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    QStringList shown;
    dialogs.OnModal = [&shown](QDialog &dialog) {
        if (auto *form = qobject_cast<TMyExceptionFm *>(&dialog))
            shown.append(form->ExceptionMesgLbl->text());
    };
    Thrower thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    EXPECT_EQ(shown, QStringList{"Something broke"});
    window->SuppressedMessages.append("Something broke");
    QCoreApplication::sendEvent(&thrower, &event);
    window->ShowErrorForm("Something broke");
    EXPECT_EQ(shown.size(), 1);
    window->ShowErrorForm("Another fault");
    EXPECT_EQ(shown.last(), "Another fault");
    EXPECT_TRUE(prompter.boxes.isEmpty());
    window->SuppressedMessages.clear();
}

TEST_F(MainWindowTest, LinkLabelsUnderlineUnderTheMouse)
{
    InstallLabelOverrides(qApp);
    const struct {
        const char *name;
        bool underlines;
    } cases[] = {{"ThemeClearLnk", true}, {"LnkAtStart", false}, {"MidLnkName", false}, {"Endlnk", false}};
    for (const auto &c : cases) {
        QLabel label(c.name);
        label.setObjectName(c.name);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(&label, &enter);
        EXPECT_EQ(label.font().underline(), c.underlines) << c.name;
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&label, &leave);
        EXPECT_FALSE(label.font().underline()) << c.name;
    }
}

TEST_F(MainWindowTest, RejectedWordsComeFromTheUserDataFolder)
{
    writeFile(AddBackslash(GetUserDataFolder()) + "trv_glob.rjt", "ABC\r\nDEF\r\n");
    TMainFm *window = makeWindow();
    EXPECT_EQ(window->GlueRejectWordsMemo->toPlainText(), "ABC\nDEF");
}

TEST_F(MainWindowTest, ProgramFolderBecomesCurrentWithoutData)
{
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    makeWindow();
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(m_program.path()).canonicalPath());

    ScriptedPrompter prompter;
    QDir::setCurrent(elsewhere.path());
    SetProgramFolderForTesting(m_program.path() + "/missing");
    makeWindow();
    EXPECT_EQ(prompter.lastText(),
              "Cannot change to " + QCoreApplication::applicationFilePath() + "'s directory.");
}

// ---- The frame ----------------------------------------------------------------------------

TEST_F(MainWindowTest, FrameHasItsNamedControlsAndAScreenshotShowsThem)
{
    TMainFm *window = makeWindow();
    window->setWindowState(Qt::WindowNoState);
    window->resize(1000, 700);
    window->show();
    QCoreApplication::processEvents();
    for (const char *name : {"ClientPanel",           "SpeedBarPanel",    "MainNotebookPages",
                             "tsPuzzleType",          "tsYourWords",      "tsGrid",
                             "tsOtherClues",          "ViewSectionPanel", "ViewTabCtl",
                             "DesktopPanel",          "ViewPort",         "ViewPortHorzScrollbar",
                             "ViewPortVertScrollbar", "StatusBar",        "SBPage",
                             "SBWordslots",           "SBThemeWords",     "SBThemeFits",
                             "ConstructingDlgTimer",  "KeyCursorTimer",   "ThemePanel",
                             "GlueRejectWordsMemo",   "CluesAcrossSG",    "CluesDownSG",
                             "CluesAlternateSG",      "mFileRecentLine",  "mFileRecent1",
                             "mFileRecent6",          "mViewPuzzle",      "mMakeAnother",
                             "PuzzleSizeCmBx",        "ApplySizeBtn"})
        EXPECT_NE(window->findChild<QObject *>(name), nullptr) << name;
    const auto *pages = window->findChild<QTabWidget *>("MainNotebookPages");
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), "Puzzle Type");
    EXPECT_EQ(pages->tabText(1), "Your Words && Clues");
    EXPECT_EQ(pages->tabText(2), "Grid");
    EXPECT_EQ(pages->tabText(3), "Other Clues");
    EXPECT_EQ(window->findChild<QLabel *>("SBPage")->text(), "Page 1");
    for (const char *timer : {"ConstructingDlgTimer", "KeyCursorTimer"}) {
        const auto *t = window->findChild<QTimer *>(timer);
        EXPECT_EQ(t->interval(), 500);
        EXPECT_FALSE(t->isActive());
    }
    EXPECT_TRUE(window->mViewPage[0]->isChecked()); // the first start shows page 1
    EXPECT_FALSE(window->mMakeAnother->isEnabled());
    EXPECT_EQ(window->DesktopPanel->Color(), DesktopPanelColor);
    EXPECT_EQ(window->Cursors.size(), 12); // number 13 has no cursor
    EXPECT_FALSE(window->Cursors.contains(13));
    EXPECT_EQ(window->Glyphs.size(), 9);
    // The document reaches the editor and the clue grids through the window.
    ASSERT_NE(WordList, nullptr);
    EXPECT_EQ(WordList->EntryCount(), 1); // the empty entry that ends the list
    EXPECT_TRUE(WordList->IsSaved());
    ASSERT_NE(::CluesAcrossSG, nullptr);
    EXPECT_EQ(window->CluesAcrossSG->model(), ::CluesAcrossSG);
    EXPECT_EQ(window->CluesDownSG->model(), ::CluesDownSG);
    EXPECT_EQ(window->CluesAlternateSG->model(), ::CluesAlternateSG);
    for (const QPixmap &glyph : window->Glyphs)
        EXPECT_FALSE(glyph.isNull());

    // Panel arrangement.
    EXPECT_EQ(window->ViewSectionPanel->width(),
              window->ClientPanel->width() - window->InstrumentPanel->width() - 4);
    const int fits =
        (window->StatusBar->width() - window->SBPage->width() - 40 - window->SBWordslots->width()) / 2 - 30;
    EXPECT_EQ(window->SBThemeFits->width(), fits);
    EXPECT_EQ(window->SBThemeWords->width(), fits + 60);
    EXPECT_EQ(window->SBThemeWords->x(), window->SBWordslots->x() + window->SBWordslots->width() + 8);

    const QPixmap shot = window->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), window->size());
    const QImage image = shot.toImage();
    const QColor panel = image.pixelColor(
        window->SpeedBarPanel->mapTo(window, QPoint(window->SpeedBarPanel->width() - 10, 10)));
    EXPECT_EQ(panel, ColorFromWin(ColorScheme));
    EXPECT_TRUE(shot.save(QStringLiteral(TRV_TEST_OUTPUT) + "/mainwindow.png"));

    // The words page: the editor from 73 down to 8 above the sort panel, which sits 4 above the
    // page's bottom.
    window->ShowNotebookPage(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->ClueEditor->isVisible());
    EXPECT_EQ(window->ClueEditor->y(), 73);
    const QWidget *page = window->tsYourWords;
    EXPECT_EQ(window->ThemeSortPanel->y() + window->ThemeSortPanel->height(), page->height() - 4);
    EXPECT_EQ(window->ClueEditor->mapTo(page, QPoint(0, window->ClueEditor->height())).y(),
              window->ThemeSortPanel->y() - 8);
    EXPECT_TRUE(window->grab().save(QStringLiteral(TRV_TEST_OUTPUT) + "/mainwindow-words.png"));
    m_window.reset();
    EXPECT_EQ(WordList, nullptr);
    EXPECT_EQ(::CluesAcrossSG, nullptr);
}

TEST_F(MainWindowTest, ControlsShowTheirCaptions)
{
    TMainFm *window = makeWindow();
    const struct {
        const char *name;
        const char *text;
    } cases[] = {
        {"LooseRB", "Freeform Crossword"},
        {"TightRB", "Symmetrical Crossword"},
        {"GlueSaveRejectedWordListBtn", "Save rejected word list"},
        {"GlueClearRejectedWordsBtn", "Clear list"},
        {"WordBankCB", "Provide Word Bank"},
        {"ShowHotSpotsCB", "Show hot spots (parts that are hard to make)"},
        {"WordSizesHintLbl", "Click on a size or blue bar to show slot locations"},
        {"CluesShowAlternatesCB", "Show alternate clues too"},
        {"AcrossLbl", "ACROSS"},
        {"DownLbl", "DOWN"},
        {"SBPage", "Page 1"},
        {"mViewPuzzle", "&Grid  (Shown with letters that don't print)"},
        {"mMakeAnother", "Make &Another Puzzle Now"},
        {"mClueAutomaticallyFreeform", "Add Stock Clues Automatically for &Freeform Puzzles"},
        {"mClueAutomaticallySymmetrical", "Add Stock Clues Automatically for S&ymmetrical Puzzles"},
        {"mFileExit", "E&xit"},
    };
    for (const auto &c : cases) {
        QObject *control = window->findChild<QObject *>(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        QString text;
        if (auto *action = qobject_cast<QAction *>(control))
            text = action->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            text = button->text();
        else if (auto *label = qobject_cast<QLabel *>(control))
            text = label->text();
        EXPECT_EQ(text, c.text) << c.name;
    }
    EXPECT_EQ(window->mBuild->title(), "&Make");

    // The editor's slot column: "Arial" 8 from 1, as wide as "22 A" plus 4.
    const TCluesEdit *editor = window->ClueEditor;
    EXPECT_EQ(editor->SlotsFont().family(), "Arial");
    EXPECT_EQ(editor->SlotsFont().pointSize(), 8);
    EXPECT_EQ(editor->SlotsLeft(), 1);
    EXPECT_EQ(editor->SlotsRight(), QFontMetrics(editor->SlotsFont()).horizontalAdvance("22 A") + 4);
}

TEST_F(MainWindowTest, NotebookPagesByIndex)
{
    TMainFm *window = makeWindow();
    const struct {
        bool symmetrical;
        int index;
        int shown;
    } cases[] = {{false, 1, 1}, {false, 2, 2}, {false, 3, 0}, {true, 3, 3}, {true, 0, 0}, {true, 9, 0}};
    for (const auto &c : cases) {
        (c.symmetrical ? window->TightRB : window->LooseRB)->setChecked(true);
        window->ShowNotebookPage(c.index);
        EXPECT_EQ(window->ActiveNotebookPage(), c.shown) << c.index;
    }
}

TEST(OpeningScreen, ShowsLoadPercentage)
{
    TOpeningScreen splash;
    EXPECT_EQ(splash.LaunchProgressLbl->text(), "0% Loaded");
    splash.SetLoadProgress(52);
    EXPECT_EQ(splash.LaunchProgressLbl->text(), "52% Loaded");
    EXPECT_EQ(splash.size(), splash.SplashImage->pixmap().size() + QSize(4, 4));
    EXPECT_FALSE(splash.SplashImage->pixmap().isNull());
}

} // namespace
