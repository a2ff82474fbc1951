// The publishing form: the title, author and date of the interactive puzzle, and the commands
// that save it for the user's own web site, test it in the local browser, or save its data file.
//
// The form reaches the main window and the player preferences only through TPublishHooks, so it
// runs without them. TMainFm fills the hooks when it creates the form:
//   Prefs               <- TPublishPrefFm::Prefs (the value set loaded before the form is made)
//   AdvancedOptions     <- TPublishPrefFm::LoadPreferences(2), its first tab, shown modally
//   MainTitle           <- the main window's TitleEd
//   PuzzleFileName      <- the current document's file name
//   ShowHelpTopic       <- TMainFm::ShowHelpTopic
//   ShowInBrowserWindow <- the program's own browser window, once there is one
//   QuickPublish        <- optional: what One-Click Publish does when the hosting service is not
//                          configured (HostingConfigured(): a web address and an account group)
// A hook left empty: the player preferences are their defaults, the title and file name are
// empty, and the help and the browser window are not offered. One-Click Publish posts through
// the posting window (TPostingPuzzleFm) when the hosting service is configured, else calls the
// QuickPublish hook; with neither it is disabled.
#pragma once

#include "appletpage.h"
#include "hostingprotocol.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TPublishFm;
}
class QLabel;
class QLineEdit;
class QPushButton;

struct TPublishHooks {
    std::function<TPlayerPrefs()> Prefs;
    std::function<void()> AdvancedOptions;
    std::function<QString()> MainTitle;
    std::function<QString()> PuzzleFileName;
    std::function<void(const QString &page)> ShowHelpTopic;
    /** Shows the page in the program's browser window at that size; false when it cannot. */
    std::function<bool(const QString &url, int width, int height)> ShowInBrowserWindow;
    std::function<void()> QuickPublish;
};

class TPublishFm : public QDialog
{
    Q_OBJECT
public:
    /** The form with its fields preloaded from the player preferences (PreloadFields). */
    explicit TPublishFm(const TPublishHooks &hooks, QWidget *parent = nullptr);
    ~TPublishFm() override;

    QLineEdit *TitleEd = nullptr;
    QLineEdit *AuthorEd = nullptr;
    QLineEdit *DateEd = nullptr;
    QPushButton *SaveInteractiveBtn = nullptr;
    QPushButton *TestLocallyBtn = nullptr;
    QPushButton *PublishToWebsiteBtn = nullptr;
    QPushButton *AdvancedOptionsBtn = nullptr;
    QPushButton *Java_QuickPublishBtn = nullptr;
    QLabel *HowToPublishLnk = nullptr;
    QLabel *MoreLnk = nullptr;

    /** Set by the main window's Play command: the puzzle's title becomes "Play-Puzzle". */
    bool PlayMode = false;

    /** The filter of the save dialog ExportDlg. */
    static const QString ExportFilter;
    /** The two archives of the puzzle player, looked for in the program folder. */
    static const QStringList AppletArchives;

    void PreloadFields();
    QStringList BuildPuzzleData() const;
    QStringList BuildAppletPage(const QString &dataFileName, bool ownSite) const;
    QStringList BuildPageFields(const QString &dataFileName, bool ownSite) const;

    /** "Play-Puzzle" in play mode, else SanitizeName of the title. */
    QString GetPuzzleName() const;
    /** The publish form of the hosted page (its data file: the puzzle name + ".txt"). */
    QStringList QuickPublishForm(const HostingProtocol &protocol) const;
    /** One-Click Publish through the posting window with this installation's identity; true
     *  when the puzzle was published. */
    bool QuickPublish();

    /** Copies both archives from the program folder into folder, replacing older copies. A
     *  missing archive and a failed copy each get their own message; false when either. */
    bool CopyAppletFiles(const QString &folder);

    /** The number of the next local test's files: 1, 2, 3, 1, ... for the whole program run. */
    static int NextLocalTestNumber();
    static void ResetLocalTestCounter();

public slots:
    void SaveInteractiveBtnClick();
    /** Saves the page and data as temporary files in the documents folder and opens the page in
     *  the browser; the result says whether a browser was opened. */
    bool TestLocally();
    void PublishToWebsiteBtnClick();
    void AdvancedOptionsBtnClick();
    void HowToPublishLnkClick();
    void MoreLnkClick();
    void Java_QuickPublishBtnClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TPublishInputs inputs() const;
    TPlayerPrefs prefs() const;

    std::unique_ptr<Ui::TPublishFm> m_ui;
    TPublishHooks m_hooks;
};
