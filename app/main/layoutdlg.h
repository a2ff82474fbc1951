// The Layout dialog: every layout setting of the printed page on ten tabs, typed lengths kept in
// a working copy until OK or Apply stores them, the Auto-Layout shading, and the "Margin &&
// Border" tab with its border styles, custom border, insets, margins and stepping.
//
// The dialog reaches the main window only through TLayoutDlgHooks. The window fills them when it
// creates the dialog (TMainFm::OpenLayoutDialogAt), from these members:
//   SetTitlesQuietly     <- shows DocControls.PuzzleTitle/PuzzleSubtitle in TitleEd/SubtitleEd
//                           with their signals blocked: never TitleEdChange, TitlesChanged or
//                           AutoLayoutAfterTitleEdit (the dialog has set the page up itself)
//   SetAutoLayoutChecked <- AutoLayoutCB set quietly to DocControls.AutoLayout (no click handler)
//   SetWordBankChecked   <- WordBankCB set quietly to DocControls.WordBankCB (no click handler)
//   SetModified          <- TMainFm::SetModified
//   ShowViewTabIfOther   <- TMainFm::ShowViewTabIfOther
//   RebuildClueGrids     <- ::RebuildClueGrids
//   RunAutoLayout        <- ::RunAutoLayout (the Auto-Layout expert)
//   InvalidateView       <- TMainFm::InvalidateView
//   ShowBalloon          <- TMainFm::ShowBalloon; BalloonWidth <- HintFm->width()
// Left empty, a hook does nothing, except: the document values are always set by the dialog
// itself, SetModified falls back to DocHooks.SetModified, RebuildClueGrids to ::RebuildClueGrids,
// ShowBalloon to an information box, ChooseFont to QFontDialog.
#pragma once

#include "layoutsettings.h"

#include <QDialog>
#include <QFont>
#include <QList>
#include <QPair>
#include <QSet>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class TLayoutDlg;
}
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;
struct TCustomBorder;

struct TLayoutDlgHooks {
    std::function<void(const QString &title, const QString &subtitle)> SetTitlesQuietly;
    std::function<void(bool on)> SetAutoLayoutChecked;
    std::function<void(bool on)> SetWordBankChecked;
    std::function<void()> SetModified;
    std::function<void(const QString &caption)> ShowViewTabIfOther;
    std::function<void()> RebuildClueGrids;
    /** The expert; the dialog takes its checkpoint first and passes flag 2. */
    std::function<void(int flags)> RunAutoLayout;
    std::function<void()> InvalidateView;
    std::function<void(const QString &text, int x, int seconds, int y)> ShowBalloon;
    int BalloonWidth = 350;
    /** The solution header's font dialog; false when cancelled. */
    std::function<bool(QWidget *parent, QFont *font)> ChooseFont;
};

class TLayoutDlg : public QDialog
{
    Q_OBJECT
public:
    /** Tab indexes of LayoutPgCtl. */
    enum Tab {
        AutoLayoutTab,
        ClueColumnsTab,
        ClueTextTab,
        CreditsTab,
        GraphicsTab,
        BorderTab,
        PuzzleTab,
        SolutionTab,
        TitleTab,
        WordBankTab
    };

    explicit TLayoutDlg(QWidget *parent = nullptr);
    ~TLayoutDlg() override;

    TLayoutDlgHooks Hooks;

    /** The whole showing for the main window: a dialog with the hooks, loaded, opened at the tab
     *  whose caption starts with tabText, run modally; returns its result. */
    static int Run(QWidget *parent, const TLayoutDlgHooks &hooks, const QString &tabText);

    QTabWidget *LayoutPgCtl() const;
    /** The first tab whose caption starts with the text; 0 when none does. */
    int FindTabIndex(const QString &prefix) const;
    /** Opens the tab without the leaving check (the window does this before showing). */
    void ActivateTab(int index);

    void LoadFromSettings();
    void StoreToSettings();
    /** The check of one tab; shows its message and fails while an entry of it is wrong. */
    bool CheckTab(int index);
    /** The column width and margin check on the working values. */
    bool CheckFit();
    /** Rebuilds the clue grids once after StoreToSettings changed the word bank. */
    bool ApplyWordBankChange();
    void ShadeAutoLayoutControls();

    // ---- Margin && Border -------------------------------------------------------------------------
    /** Shows a style in the custom panel. */
    void ShowBorderStyle(const QString &style);
    /** The custom item from the panel; selects it and sets the margins from it. */
    void BuildCustomBorderStyle();
    /** The margin entries from the insets and the band widths, when the style has bands. */
    void MarginsFromBorder();
    void UpdateMarginAverages();
    /** Blinks the two spacing hints red and black on a timer; returns at once. */
    void BlinkSpacingHints(int count, int onMs, int offMs);
    bool IsBlinking() const { return m_blinkTimer.isActive(); }

    /** The working copy: the settings as loaded, with the typed values that passed their check. */
    const TLayoutSettings &Working() const { return m_work; }
    bool WordBankChanged() const { return m_wordBankChanged; }
    /** The shading of a controlled item whose switch is on (with Auto-Layout on). */
    static QColor ShadowColor();
    /** Whether an entry shows red text (a value it could not take). */
    static bool IsRed(const QWidget *entry);

public slots:
    void OKBtnClick();
    void LayoutApplyBtnClick();
    void AutoLayoutNowBtnClick();
    void HelpBtnClick();
    void WordBankMemorizeBtnClick();
    void LayoutClueColumnsDefaultsBtnClick();
    void LayoutClueTextDefaultsBtnClick();
    void LayoutCreditsDefaultsBtnClick();
    void LayoutMarginsDefaultsBtnClick();
    void LayoutPuzzleDefaultsBtnClick();
    void LayoutSolutionDefaultsBtnClick();
    void LayoutTitleDefaultsBtnClick();
    void FrameStyleCmBxChange(int index);
    void FrameStyle_NoneLnkClick();
    void CustomizeBorderStyleCBClick();
    void FrameBandAnyCmBxChange();
    void FrameUseGapsCBClick();
    void FrameAdjustIndividuallyCBClick();
    void FrameColor1LnkClick() { FrameColorMouseDown(1); }
    void FrameColor2LnkClick() { FrameColorMouseDown(2); }
    void FrameColor3LnkClick() { FrameColorMouseDown(3); }
    void FrameColor4LnkClick() { FrameColorMouseDown(4); }
    void FrameColor5LnkClick() { FrameColorMouseDown(5); }
    /** A click on band n's colour shape or its link: the colour dialog. */
    void FrameColorMouseDown(int band);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** An entry that turns red on text it cannot take, and what it feeds. */
    struct TEntry;
    void ConnectControls();
    void ConnectEntries();
    void FillLists();
    void SelectFont(QComboBox *box, const QString &font);
    // The controls of a group from a settings value: loading, and the tabs' Defaults buttons.
    void ShowClueColumns(const TLayoutSettings &s);
    void ShowClueText(const TLayoutSettings &s);
    void ShowCredits(const TLayoutSettings &s);
    void ShowMargins(const TLayoutSettings &s);
    void ShowPuzzleGrid(const TLayoutSettings &s);
    void ShowSolutionGrid(const TLayoutSettings &s);
    void ShowTitleFonts(const TLayoutSettings &s);
    bool Apply(bool runExpert);
    bool CheckBeforeStoring();
    /** The tab change: the tab being left must pass its check. */
    void LayoutPgCtlChanging(int index);
    void ShowShadingKey();
    void EntryChanged(TEntry &entry);
    void SetEntryValid(QWidget *entry, bool valid);
    TEntry *EntryOf(const QWidget *widget);
    void SetEntryText(QLineEdit *edit, const QString &text);
    void AutoLayoutCBClick();
    void UpdateAutoLayoutEnables();
    void UntickSwitch(QCheckBox *box);
    void UpdateSquareEnables();
    void UpdatePointSizeLabels();
    void RecheckPositions();
    void MarginChanged();
    void InsetChanged();
    /** A step of an entry by the arrow, plus or minus keys or a spin button. */
    void StepEntry(QLineEdit *edit, int direction);
    void StepGroup(const QList<QLineEdit *> &group, int direction);
    void StepSubtitleSpacing(int direction);
    void CopyAverageToEdges(QLineEdit *average, const QList<QLineEdit *> &edges);
    void ShadeOne(QWidget *widget, bool shaded, bool autoLayoutOn);
    void BlinkStep();
    void ChangeSampleColor(QLabel *sample);
    void ChooseSolutionHeaderFont();
    void ApplyDialogColor();
    QList<QLineEdit *> MarginEdits() const;
    QList<QLineEdit *> OutsideEdits() const;
    QList<QLineEdit *> InsideEdits() const;
    TCustomBorder PanelBorder() const;
    QString HelpText(int tab) const;

    std::unique_ptr<Ui::TLayoutDlg> m_ui;
    // The typed values are held here until they are stored; so is the solution header's font.
    TLayoutSettings m_work;
    std::vector<std::unique_ptr<TEntry>> m_entries;
    QSet<const QWidget *> m_red;
    int m_activeTab = 0;
    bool m_switchingTab = false;
    bool m_loading = false;
    bool m_fillingPanel = false;
    bool m_averageFocus = false;
    bool m_wordBankChanged = false;
    int m_hintBlinks = 10;
    QStringList m_fonts;
    QTimer m_blinkTimer;
    QList<QPair<int, int>> m_blinkTimes;
    int m_blinkIndex = 0;
    bool m_blinkRed = false;
};
