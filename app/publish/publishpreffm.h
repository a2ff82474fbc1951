// The player preferences of the interactive puzzle: how the applet looks (layout, grid shadow,
// capitals, colours), which buttons it offers, its size in the page, the text size, and which
// publishing fields are filled in beforehand. Two value sets are kept in the program key: 1 for
// playing on this computer ("OnPlay_" values), 2 for exporting and e-mail ("OnWeb_" values).
//
// Made once at start-up; the publishing form reads the values in use through Prefs() and the
// applet size members, and shows the form modally on its first tab for "Advanced Options".
#pragma once

#include "appletpage.h"
#include "pagetypes.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class TPublishPrefFm;
}
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TPublishPrefFm : public QDialog
{
    Q_OBJECT
public:
    /** Applies the four defaults, then loads value set 1, reporting 50, 51 and 52 to progress
     *  when it is set (the splash window's progress bar). */
    explicit TPublishPrefFm(QWidget *parent = nullptr, const std::function<void(int)> &progress = {});
    ~TPublishPrefFm() override;

    /** The applet sizes of AppletSizeCmBx, in list order. */
    enum TAppletSizeItem {
        FixedSmall,
        FixedMedium,
        FixedLarge,
        FixedOther,
        AutomaticSmall,
        AutomaticMedium,
        AutomaticLarge,
        AutomaticOther
    };
    /** The size of an "Other" applet before the user has chosen one. */
    static constexpr int DefaultOtherWidth = 700, DefaultOtherHeight = 450;

    /** Selects value set 1 (local play) or 2 (export and e-mail), sets the caption and reads
     *  the set's values. Nothing happens when the set is already selected. */
    void LoadPreferences(int set);
    /** The value set in use (1 or 2). */
    int ValueSet() const { return m_set; }
    /** "Save Preferences": writes the controls' values under the set's prefix. */
    void SavePreferences();
    /** The controls' current values as one value set. */
    TPlayerPrefs Prefs() const;

    /** The size of the "Other" applet sizes (pixels). */
    int OtherWidth() const { return m_otherWidth; }
    int OtherHeight() const { return m_otherHeight; }

    QTabWidget *PrefPgCtl = nullptr;

    // Applet size, computed from AppletSizeCmBx (and the size dialog for the "Other" items).
    QString AppletWidth = QStringLiteral("95%");
    QString AppletHeight = QStringLiteral("95%");
    bool Auto = true;
    int PlayBrowserWidth = 750;
    int PlayBrowserHeight = 580;
    /** The chosen text size, one of PuzzleTextSizeCmBx's items. */
    QString PuzzleTextSizeStr = QStringLiteral("Normal");

    // ---- Controls, by their names -------------------------------------------------------------
    // Appearance.
    QComboBox *PuzzleLayoutCmBx = nullptr;
    QComboBox *GridShadowCmBx = nullptr;
    QCheckBox *CapitalizeGridCB = nullptr;
    QLabel *ColorSamplePnl = nullptr;
    QLabel *BackgroundColorLnk = nullptr;
    QLabel *TextColorLnk = nullptr;
    QPushButton *AppearanceDefaultsBtn = nullptr;
    // Options.
    QCheckBox *DisplayTimerCB = nullptr;
    QCheckBox *ShowRevealLetterCB = nullptr;
    QCheckBox *ShowRevealWordCB = nullptr;
    QCheckBox *ShowCheckCB = nullptr;
    QCheckBox *ShowSolveCB = nullptr;
    QLineEdit *CopyrightEd = nullptr;
    QPushButton *CopyrightBtn = nullptr;
    QPushButton *OptionsDefaultsBtn = nullptr;
    // Applet size and text size.
    QComboBox *AppletSizeCmBx = nullptr;
    QLabel *AppletSizeLbl = nullptr;
    QComboBox *PuzzleTextSizeCmBx = nullptr;
    QPushButton *AppletSizeDefaultsBtn = nullptr;
    // Preload.
    QCheckBox *PreloadTitleCB = nullptr;
    QCheckBox *PreloadAuthorCB = nullptr;
    QCheckBox *PreloadDateCB = nullptr;
    QLineEdit *PublishedAuthorEd = nullptr;
    QPushButton *PreloadDefaultsBtn = nullptr;
    // The form.
    QPushButton *SavePreferencesBtn = nullptr;
    QPushButton *CloseBtn = nullptr;

public slots:
    void AppearanceDefaultsBtnClick();
    void OptionsDefaultsBtnClick();
    void AppletSizeDefaultsBtnClick();
    void PreloadDefaultsBtnClick();
    void CopyrightBtnClick();
    /** The background colour (also a click on the sample). */
    void BackgroundColorLnkClick();
    /** The text colour. */
    void TextColorLnkClick();
    void SavePreferencesBtnClick();
    /** The user picked an applet size: the "Other" items ask for the size first. */
    void AppletSizeCmBxSelect(int index);
    void PuzzleTextSizeCmBxChange(int index);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** AppletWidth .. PlayBrowserHeight and AppletSizeLbl from AppletSizeCmBx. */
    void ComputeAppletSize();
    /** Selects the PuzzleTextSizeCmBx item equal to PuzzleTextSizeStr ("Normal" when none). */
    void SelectTextSize();
    void SetSampleColors(TColor color, TColor fontColor);
    QString Prefix() const;

    std::unique_ptr<Ui::TPublishPrefFm> m_ui;
    int m_set = 0;
    TColor m_color = 0xD8E9EC;
    TColor m_fontColor = 0x800000;
    int m_otherWidth = DefaultOtherWidth;
    int m_otherHeight = DefaultOtherHeight;
};
