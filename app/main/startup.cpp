// The program's start-up sequence.
#include "startup.h"

#include "application.h"
#include "fades.h"
#include "fileio.h"
#include "globals.h"
#include "mainfm.h"
#include "openingscreen.h"
#include "puzzlefiles.h"

#include <QDir>
#include <QMap>
#include <exception>

namespace {
QMap<QString, TStartUp::FormFactory> &factories()
{
    static QMap<QString, TStartUp::FormFactory> f;
    return f;
}
} // namespace

const QStringList &TStartUp::FormsBeforeSplash()
{
    static const QStringList forms = {
        QStringLiteral("TPageChoiceFm"),    QStringLiteral("TMyExceptionFm"),
        QStringLiteral("TExportGraphicFm"), QStringLiteral("TPdfPageChoiceFm"),
        QStringLiteral("TExportTextFm"),    QStringLiteral("TPreferencesDlg"),
        QStringLiteral("THintFm"),          QStringLiteral("TSizeFm"),
    };
    return forms;
}

const QList<std::pair<QString, int>> &TStartUp::FormsWithSplash()
{
    static const QList<std::pair<QString, int>> forms = {
        {QStringLiteral("TConstructingDlg"), 52},
        {QStringLiteral("TSpellingDlg"), 58},
        {QStringLiteral("TPublishPrefFm"), 65},
    };
    return forms;
}

void TStartUp::SetFormFactory(const QString &className, FormFactory factory)
{
    factories().insert(className, std::move(factory));
}

void TStartUp::ClearFormFactories() { factories().clear(); }

QString TStartUp::StartFolder()
{
    static const QString folder = QDir::currentPath();
    return folder;
}

QString TStartUp::ResolveHandedInName(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1String("://")) || QDir::isAbsolutePath(name))
        return name;
    return QDir::cleanPath(QDir(StartFolder()).absoluteFilePath(name));
}

TStartUp::TStartUp() = default;

TStartUp::~TStartUp()
{
    delete OpeningScreen;
    OpeningScreen = nullptr;
    for (int i = m_forms.size() - 1; i >= 0; --i)
        delete m_forms[i].data();
    delete m_mainForm;
}

void TStartUp::CreateForm(const QString &className)
{
    const auto it = factories().constFind(className);
    if (it == factories().constEnd() || !*it)
        return; // that form's part is not in the program yet
    QWidget *form = (*it)();
    if (!form)
        return;
    m_forms.append(form);
    m_created.append(className);
}

void TStartUp::Progress(int percent)
{
    m_progress.append(percent);
    if (OpeningScreen)
        OpeningScreen->SetLoadProgress(percent);
}

void TStartUp::Run()
{
    // The forms, the main window first.
    m_mainForm = new TMainFm;
    m_created.append(QStringLiteral("TMainFm"));
    for (const QString &form : FormsBeforeSplash())
        CreateForm(form);

    // The main window, transparent until it fades in. (The document view, once on the window,
    // is allowed to set its scroll bars from here on.)
    if (!FadesDisabled())
        m_mainForm->setWindowOpacity(0.0);
    m_mainForm->show();
    m_mainForm->repaint();

    OpeningScreen = new TOpeningScreen;
    OpeningScreen->setWindowOpacity(FadesDisabled() ? 1.0 : 0.0);
    OpeningScreen->show();
    Progress(3);
    QCoreApplication::processEvents();
    OpeningScreen->FadeIn(225);
    Progress(11);

    try {
        StartUpPause(200);
        Progress(20);
        for (const auto &[form, percent] : FormsWithSplash()) {
            CreateForm(form);
            StartUpPause(200);
            Progress(percent);
        }
        MainFormReady = true;
        StartUpPause(200);
        Progress(79);
        OpenPendingPuzzleFile();
        StartUpPause(200);
        Progress(84);
        QCoreApplication::processEvents();
        Progress(87);
        m_mainForm->FadeIn(225);
        Progress(93);
        StartUpPause(200);
        Progress(100);
        OpeningScreen->FadeOut(275);
    } catch (const std::exception &e) {
        TApplication::HandleException(nullptr, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        TApplication::HandleException(nullptr, QStringLiteral("Unknown exception"));
    }
    // Whatever happened above, the splash goes and the window is usable.
    delete OpeningScreen;
    OpeningScreen = nullptr;
    m_mainForm->setWindowOpacity(1.0);
    m_mainForm->StartUpFinished();
}
