// The settings store: the main window's readers of the program key and of the first-run file
// trv.ini, and the preference values that the preferences dialog reads and writes.
#include "mainfm.h"

#include "cluespg.h"
#include "globals.h"
#include "layoutsettings.h"
#include "namevaluelines.h"
#include "prefsstore.h"
#include "registry.h"

#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>

namespace {

constexpr int DefaultColorScheme = 15983055;

QSize screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

/** An integer of the first-run list: a missing or non-numeric text keeps the current value;
 *  a non-numeric one also counts as a conversion error. */
int iniInteger(const TNameValueLines &list, const char *name, int current, bool *conversionError)
{
    const QString text = list.Value(QString::fromLatin1(name)).trimmed();
    if (text.isEmpty())
        return current;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        *conversionError = true;
        return current;
    }
    return value;
}

} // namespace

TNameValueLines BuiltInFirstRunDefaults(int screenWidth, int screenHeight)
{
    const QSize size = TMainFm::FirstRunWindowSize(QSize(screenWidth, screenHeight));
    TNameValueLines list;
    list.Add(QStringLiteral("Top"), QStringLiteral("10"));
    list.Add(QStringLiteral("Left"), QStringLiteral("20"));
    list.Add(QStringLiteral("Width"), QString::number(size.width()));
    list.Add(QStringLiteral("Height"), QString::number(size.height()));
    list.Add(QStringLiteral("WindowState"), QStringLiteral("0"));
    list.Add(QStringLiteral("View"), QStringLiteral("0"));
    list.Add(QStringLiteral("PencilFont"), QStringLiteral("Comic Sans MS"));
    list.Add(QStringLiteral("PencilSize"), QStringLiteral("60"));
    list.Add(QStringLiteral("PencilColor"), QStringLiteral("8421504"));
    list.Add(QStringLiteral("DesktopColor"), QStringLiteral("128"));
    list.Add(QStringLiteral("ColorScheme"), QString::number(DefaultColorScheme));
    list.Add(QStringLiteral("BlockedCellColor"), QStringLiteral("0"));
    list.Add(QStringLiteral("RemovedCellColor"), QStringLiteral("16777215"));
    list.Add(QStringLiteral("SetupLoose"), QStringLiteral("F"));
    list.Add(QStringLiteral("SetupTight"), QStringLiteral("F"));
    list.Add(QStringLiteral("EditTextSize"), QStringLiteral("8"));
    list.Add(QStringLiteral("PencilThemeColor"), QStringLiteral("T"));
    list.Add(QStringLiteral("PencilThemeBold"), QStringLiteral("T"));
    list.Add(QStringLiteral("PencilHideAnswer"), QStringLiteral("F"));
    list.Add(QStringLiteral("AutoPatternNotice"), QStringLiteral("T"));
    list.Add(QStringLiteral("AutoClue"), QStringLiteral("T"));
    list.Add(QStringLiteral("AutoClueSymmetrical"), QStringLiteral("T"));
    list.Add(QStringLiteral("AutoClueFreeform"), QStringLiteral("F"));
    return list;
}

bool TMainFm::LoadRegistrySettings()
{
    if (!TRegistryKey::ProgramKeyExists()) {
        // No key yet: nearly the whole screen.
        const QSize screen = screenSize();
        Top = 50;
        Left = 50;
        Width = screen.width() - 100;
        Height = screen.height() - 100;
        if (windowState() == Qt::WindowNoState)
            RestoreRememberedRect();
        return false;
    }

    // Absent values keep the window's own rectangle.
    Top = y();
    Left = x();
    Width = width();
    Height = height();
    TRegistryKey key;
    key.ReadInteger(QStringLiteral("Top"), &Top);
    key.ReadInteger(QStringLiteral("Left"), &Left);
    key.ReadInteger(QStringLiteral("Width"), &Width);
    key.ReadInteger(QStringLiteral("Height"), &Height);
    ClampWindowRect();
    ApplyWindowState(key.ReadInteger(QStringLiteral("WindowState"), 2));
    View = key.ReadInteger(QStringLiteral("View"), vmPenciled);
    ShowNotebookPage(0);
    QString pencilFont;
    if (key.ReadString(QStringLiteral("PencilFont"), &pencilFont))
        ChoosePencilFont(pencilFont);
    key.ReadInteger(QStringLiteral("PencilSize"), &PencilSize);
    key.ReadInteger(QStringLiteral("PencilColor"), &PencilColor);
    key.ReadInteger(QStringLiteral("DesktopColor"), &DesktopColor);
    ApplyColorScheme(key.ReadInteger(QStringLiteral("ColorScheme"), DefaultColorScheme));
    DesktopColor = ColorScheme;
    SetupLoose = key.ReadBool(QStringLiteral("SetupLoose"), false);
    SetupTight = key.ReadBool(QStringLiteral("SetupTight"), false);
    if (!SetupLoose && !SetupTight)
        MaximizeOnSmallScreen();
    if (windowState() == Qt::WindowNoState)
        RestoreRememberedRect();
    key.ReadInteger(QStringLiteral("EditTextSize"), &EditTextSize);
    PencilThemeColor = key.ReadBool(QStringLiteral("PencilThemeColor"), false);
    PencilThemeBold = key.ReadBool(QStringLiteral("PencilThemeBold"), false);
    PencilHideAnswer = key.ReadBool(QStringLiteral("PencilHideAnswer"), false);
    AutoPatternNotice = key.ReadBool(QStringLiteral("AutoPatternNotice"), true);
    SetAutoClueSymmetrical(key.ReadBool(QStringLiteral("AutoClueSymmetrical"), true));
    SetAutoClueFreeform(key.ReadBool(QStringLiteral("AutoClueFreeform"), false));
    const bool positionStored = key.ValueExists(QStringLiteral("Top"));

    // The installation number and date are made once, on the first start that finds the key.
    if (!key.ReadString(QStringLiteral("ConsistentRandomNumber"), &InstallNumber) ||
        InstallNumber.isEmpty()) {
        InstallNumber = QString::number(QRandomGenerator::global()->bounded(1000, 1000000000));
        key.WriteString(QStringLiteral("ConsistentRandomNumber"), InstallNumber);
    }
    if (!key.ReadString(QStringLiteral("InstalledOnlineVersionDate"), &InstallDate) ||
        InstallDate.isEmpty()) {
        const QDate today = QDate::currentDate();
        InstallDate = FormatStampDate(today.year(), today.month(), today.day());
        key.WriteString(QStringLiteral("InstalledOnlineVersionDate"), InstallDate);
    }
    key.Flush();
    return positionStored;
}

void TMainFm::LoadFirstRunSettings()
{
    TNameValueLines list;
    bool found = false;
    const QString local = m_programFolder + QStringLiteral("trv.ini");
    if (QFileInfo::exists(local))
        found = list.LoadFromFile(local);
    if (!found) {
        const QString shared = GetIniFileName(false);
        if (!shared.isEmpty() && QFileInfo::exists(shared))
            found = list.LoadFromFile(shared);
    }
    if (!found) {
        const QSize screen = screenSize();
        list = BuiltInFirstRunDefaults(screen.width(), screen.height());
    }
    ApplyFirstRunSettings(list);
}

void TMainFm::ApplyFirstRunSettings(const TNameValueLines &list)
{
    bool conversionError = false;
    Top = iniInteger(list, "Top", Top, &conversionError);
    Left = iniInteger(list, "Left", Left, &conversionError);
    Width = iniInteger(list, "Width", Width, &conversionError);
    Height = iniInteger(list, "Height", Height, &conversionError);
    ClampWindowRect();
    ApplyWindowState(iniInteger(list, "WindowState", 2, &conversionError));
    View = iniInteger(list, "View", vmPenciled, &conversionError);
    ShowNotebookPage(0);
    ChoosePencilFont(list.Value(QStringLiteral("PencilFont")));
    PencilSize = iniInteger(list, "PencilSize", PencilSize, &conversionError);
    PencilColor = iniInteger(list, "PencilColor", PencilColor, &conversionError);
    DesktopColor = iniInteger(list, "DesktopColor", DesktopColor, &conversionError);
    ApplyColorScheme(iniInteger(list, "ColorScheme", DefaultColorScheme, &conversionError));
    SetupLoose = list.Value(QStringLiteral("SetupLoose")) == QLatin1String("T");
    SetupTight = list.Value(QStringLiteral("SetupTight")) == QLatin1String("T");
    if (!SetupLoose && !SetupTight)
        MaximizeOnSmallScreen();
    if (windowState() == Qt::WindowNoState)
        RestoreRememberedRect();
    EditTextSize = iniInteger(list, "EditTextSize", EditTextSize, &conversionError);
    ReadPreferenceFlags(list);
    if (conversionError) {
        const QSize screen = screenSize();
        move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    }
}

void TMainFm::LoadWordBankSettings()
{
    WordBankMode = 1;
    WordBankSort = 0;
    WordBankHeader = QStringLiteral("WORD BANK:");
    bool stored = false;
    if (TRegistryKey::ProgramKeyExists()) {
        TRegistryKey key;
        stored = key.ReadBool(QStringLiteral("WordBankCB"), false);
        QString text;
        if (key.ReadString(QStringLiteral("WordBankMode"), &text)) {
            const int index = WordListPlaceNames.indexOf(text);
            WordBankMode = index >= 0 ? index : 1;
        }
        if (key.ReadString(QStringLiteral("WordBankSort"), &text)) {
            const int index = WordListOrderNames.indexOf(text);
            WordBankSort = index >= 0 ? index : 0;
        }
        key.ReadString(QStringLiteral("WordBankHeader"), &WordBankHeader);
    }
    DocControls.WordBankCB = stored; // a new puzzle starts with the stored choice
    if (stored != WordBankCB->isChecked()) {
        // The click this causes only clears the flag.
        IgnoreWordBankCBClick = true;
        WordBankCB->setChecked(stored);
    }
}

void ReadPreferenceFlags(const TNameValueLines &list)
{
    const auto isT = [&](const char *name) {
        return list.Value(QString::fromLatin1(name)) == QLatin1String("T");
    };
    const auto notF = [&](const QString &text) { return text != QLatin1String("F"); };
    PencilThemeColor = isT("PencilThemeColor");
    PencilThemeBold = isT("PencilThemeBold");
    PencilHideAnswer = isT("PencilHideAnswer");
    AutoPatternNotice = notF(list.Value(QStringLiteral("AutoPatternNotice")));
    QString symmetrical = list.Value(QStringLiteral("AutoClueSymmetrical"));
    if (symmetrical.isEmpty())
        symmetrical = list.Value(QStringLiteral("AutoClue"));
    const bool autoSymmetrical = notF(symmetrical);
    const bool autoFreeform = isT("AutoClueFreeform");
    if (MainFm) {
        MainFm->SetAutoClueSymmetrical(autoSymmetrical);
        MainFm->SetAutoClueFreeform(autoFreeform);
    } else {
        AutoClueSymmetrical = autoSymmetrical;
        AutoClueFreeform = autoFreeform;
    }
}

void WriteRegistry()
{
    // The preferences dialog applies its current values before this once it exists.
    if (MainFm)
        MainFm->RememberWindowRect();
    // A settings file that could not be parsed is written over with the values below, so a
    // damaged file does not keep the preferences from being saved ever again. A file that
    // cannot be written stays as it is, silently.
    TRegistryKey key;
    // A minimised window is stored as normal, also one minimised from the maximised state.
    int state = 0;
    if (MainFm && MainFm->isMaximized() && !MainFm->isMinimized())
        state = 2;
    key.WriteInteger(QStringLiteral("Top"), Top);
    key.WriteInteger(QStringLiteral("Left"), Left);
    key.WriteInteger(QStringLiteral("Width"), Width);
    key.WriteInteger(QStringLiteral("Height"), Height);
    key.WriteInteger(QStringLiteral("WindowState"), state);
    key.WriteInteger(QStringLiteral("View"), View);
    key.WriteInteger(QStringLiteral("NotebookPage"), MainFm ? MainFm->ActiveNotebookPage() : 0);
    key.WriteString(QStringLiteral("PencilFont"), PencilFont);
    key.WriteInteger(QStringLiteral("PencilSize"), PencilSize);
    key.WriteInteger(QStringLiteral("PencilColor"), PencilColor);
    key.WriteBool(QStringLiteral("PencilThemeColor"), PencilThemeColor);
    key.WriteBool(QStringLiteral("PencilThemeBold"), PencilThemeBold);
    key.WriteBool(QStringLiteral("PencilHideAnswer"), PencilHideAnswer);
    key.WriteBool(QStringLiteral("SetupLoose"), SetupLoose);
    key.WriteBool(QStringLiteral("SetupTight"), SetupTight);
    key.WriteInteger(QStringLiteral("DesktopColor"), DesktopColor);
    key.WriteInteger(QStringLiteral("ColorScheme"), ColorScheme);
    key.WriteInteger(QStringLiteral("RemovedCellColor"), PageColor);
    key.WriteInteger(QStringLiteral("EditTextSize"), EditTextSize);
    key.WriteBool(QStringLiteral("AutoPatternNotice"), AutoPatternNotice);
    key.WriteBool(QStringLiteral("AutoClue"), AutoClueSymmetrical);
    key.WriteBool(QStringLiteral("AutoClueSymmetrical"), AutoClueSymmetrical);
    key.WriteBool(QStringLiteral("AutoClueFreeform"), AutoClueFreeform);
    key.Flush();
}
