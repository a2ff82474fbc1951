// The main-window test fixture: settings, user data and a program folder of its own for every
// test, and one window made on demand.
#pragma once

#include "globals.h"
#include "mainfm.h"
#include "prompter.h"
#include "startup.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline QSettings programKey() { return QSettings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV")); }

inline void clearSettings()
{
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    settings.clear();
    settings.sync();
}

inline int boxesWithText(const ScriptedPrompter &prompter, const QString &text)
{
    int n = 0;
    for (const auto &box : prompter.boxes)
        n += box.text == text;
    return n;
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        TStartUp::ClearFormFactories();
        clearSettings();
        QFile::remove(AddBackslash(GetUserDataFolder()) + "trv_glob.rjt");
        QFile::remove(GetIniFileName(false));
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(m_program.isValid());
        // A program folder with the data folder in it, current as after a normal start.
        QDir(m_program.path()).mkpath("ZEDAVIV");
        QFile clues(m_program.path() + "/ZEDAVIV/Clues.03");
        ASSERT_TRUE(clues.open(QIODevice::WriteOnly));
        clues.close();
        SetProgramFolderForTesting(m_program.path());
        QDir::setCurrent(m_program.path());
    }

    void TearDown() override
    {
        m_window.reset();
        MainFormReady = false;
        TStartUp::ClearFormFactories();
        SetProgramFolderForTesting(QString());
        QDir::setCurrent(m_previousFolder);
    }

    TMainFm *makeWindow()
    {
        m_window.reset();
        m_window = std::make_unique<TMainFm>();
        return m_window.get();
    }

    /** A ready window without automatic clues (the program folder has no clue files), with the
     *  puzzle file opened as the user would open it; an empty name opens nothing. */
    TMainFm *makeReadyWindow(const QString &file = QString())
    {
        TMainFm *window = makeWindow();
        window->SetAutoClueSymmetrical(false);
        window->SetAutoClueFreeform(false);
        MainFormReady = true;
        if (!file.isEmpty()) {
            window->ReadPuzzleFile(file);
            window->AfterPuzzleOpened(file);
        }
        return window;
    }

    QString programFile(const QString &name) const { return m_program.path() + "/" + name; }

    void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_program;
    QString m_previousFolder;
    std::unique_ptr<TMainFm> m_window;
};

// Readable failure output for Qt texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
