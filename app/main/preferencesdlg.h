// The preferences dialog: program behaviour that does not change the puzzle (pencil
// font, size and colour, the application colour, the editable-text size, the notices and the
// automatic clues), kept in the program key by WriteRegistry.
//
// The dialog reaches the main window only through TPreferencesHooks, so that it runs without one.
// TMainFm fills the hooks when it creates the dialog (at start-up), from these members:
//   ApplyColorScheme       <- TMainFm::ApplyColorScheme (int)
//   ApplyEditTextSize      <- ::ApplyEditTextSize (ClueEditor, GlueRejectWordsMemo,
//                             CluesAcrossSG, CluesDownSG, CluesAlternateSG) (this file)
//   FormResize             <- TMainFm::FormResize (private: a lambda made inside TMainFm)
//   RedrawView             <- TMainFm::RedrawView
//   SetAutoClueSymmetrical <- TMainFm::SetAutoClueSymmetrical (ticks the Clues menu item)
//   SetAutoClueFreeform    <- TMainFm::SetAutoClueFreeform (ticks the Clues menu item)
//   WriteRegistry          <- ::WriteRegistry (prefsstore.h; it calls TMainFm::RememberWindowRect)
//   IsClosing              <- the global MainFormClosing (set by TMainFm's close handling)
//   ShowBalloon            <- TMainFm::ShowBalloon (text, x, seconds, y)
// A hook left empty falls back to the globals alone: the colour scheme and auto-clue globals are
// set, WriteRegistry is ::WriteRegistry, IsClosing reads MainFormClosing, the balloon goes to
// MainFm->ShowBalloon when a main window exists, else to showInformation; the rest do nothing.
// File "Pre&ferences ..." calls LoadFromSettings and then shows the dialog modally; the close
// query and the quick tour call SavePreferences.
#pragma once

#include "pagetypes.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TPreferencesDlg;
}
class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;
class TCluesEdit;
class TNameValueLines;

/** The main window's side of the dialog; see the comment at the top of this file. */
struct TPreferencesHooks {
    std::function<void(int color)> ApplyColorScheme;
    std::function<void()> ApplyEditTextSize;
    std::function<void()> FormResize;
    std::function<void()> RedrawView;
    std::function<void(bool on)> SetAutoClueSymmetrical;
    std::function<void(bool on)> SetAutoClueFreeform;
    std::function<void()> WriteRegistry;
    std::function<bool()> IsClosing;
    std::function<void(const QString &text, int x, int seconds, int y)> ShowBalloon;
};

class TPreferencesDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TPreferencesDlg(QWidget *parent = nullptr);
    ~TPreferencesDlg() override;

    TPreferencesHooks Hooks;

    // ---- Controls, by their names -------------------------------------------------------------
    QComboBox *PencilFontCmBx = nullptr;
    QSpinBox *PencilFontSizeSpEd = nullptr;
    QComboBox *PrefNonThemeColorCmBx = nullptr;
    QCheckBox *PrefThemeInColorCB = nullptr;
    QCheckBox *PrefThemeInBoldCB = nullptr;
    QCheckBox *PrefHideAnswerCB = nullptr;
    QCheckBox *PastelCB = nullptr;
    QComboBox *DesktopColorCmBx = nullptr;
    QComboBox *EditTextSizeCmBx = nullptr;
    QCheckBox *PrefAutoPatNoticeCB = nullptr;
    QCheckBox *PrefAutoClueFreeformCB = nullptr;
    QCheckBox *PrefAutoClueSymmetricalCB = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *PrefApplyBtn = nullptr;
    QPushButton *PrefSaveBtn = nullptr;
    QPushButton *PrefDefaultsBtn = nullptr;
    QPushButton *HelpBtn = nullptr;

    /** The pencil colours of PrefNonThemeColorCmBx, in list order ($BBGGRR). */
    static const TColor PencilColors[4];
    /** The editable-text sizes of EditTextSizeCmBx, in list order (points). */
    static const int EditTextSizes[5];
    /** Index of "Custom" in DesktopColorCmBx. */
    static constexpr int CustomColorIndex = 12;
    /** The colour of an application-colour item: "Normal" and "Normal--Lighter for some" from
     *  the application palette (Button, Light), "Custom" the last custom colour; -1 for none. */
    TColor AppColorOf(int index) const;

    /** The controls take the settings. */
    void LoadFromSettings();
    /** The settings take the controls, and the main window is told (colours, text size, menus). */
    void StoreToSettings();
    /** Loads the controls from the current settings, then the registry write. */
    void SavePreferences();
    /** Apply unless the main window is closing, then the program key is written. */
    void WriteRegistry();
    /** The Boolean preferences of a first-run name=value list, then the two
     *  automatic-clue hooks follow. */
    void ReadPreferenceFlags(const TNameValueLines &list);

    /** The size that Apply stores: the spin edit's last entered value in 0..100. */
    int PendingPencilSize() const { return m_pendingSize; }
    /** The colour that "Custom" stands for. */
    TColor CustomColor() const { return m_customColor; }
    /** The application-colour list was dropped down since the last change. */
    bool DroppedDown() const { return m_droppedDown; }

public slots:
    void PrefApplyBtnClick();
    void OKBtnClick();
    void PrefSaveBtnClick();
    void PrefDefaultsBtnClick();
    void PencilFontSizeSpEdChange();
    void DesktopColorCmBxDropDown();
    void DesktopColorCmBxChange();
    void HelpBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** The registry write: Apply unless closing, then WriteRegistry. */
    void RegistryWrite();
    bool IsClosing() const;
    /** FormShow and StoreToSettings: the dialog takes the application colour. */
    void ApplyDialogColor();
    /** Black text for a size in 0..100, red for one outside. */
    void ShowPencilSizeValid(bool valid);
    /** Refills the font list from the screen's fonts (sorted), keeping the selection. */
    void FillFontList();
    /** Selects the wanted font, or the installed font that stands in for it. */
    void SelectPencilFont(const QString &wanted);

    std::unique_ptr<Ui::TPreferencesDlg> m_ui;
    int m_pendingSize = 60;
    TColor m_customColor = 15983055;
    bool m_droppedDown = false;
};

/** The dialog, once made (at start-up in the program; by tests as needed). */
extern TPreferencesDlg *PreferencesDlg;

/** Applies EditTextSize to the main window's editing controls (any may be null): the
 *  word-and-clue editor's text and slot-label size (its slot column ends 3 pixels after "22 A"
 *  in the slot-label font), the rejected-words memo, and each clue grid's font, default row
 *  height (5 pixels more than the font's pixel height) and row 0 (height 0). */
void ApplyEditTextSize(TCluesEdit *editor, QPlainTextEdit *memo, QTableView *acrossGrid, QTableView *downGrid,
                       QTableView *alternateGrid);
