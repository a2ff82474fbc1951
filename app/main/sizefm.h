// The custom-size dialog "Custom Puzzle Size", opened by the size list's "Custom" item; made at
// start-up and kept for the whole run. OK is refused while an entry is out of range.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TSizeFm;
}
class QPushButton;
class QSpinBox;

/** A grid has 1 to 51 columns and rows. */
bool IsValidGridDimension(int value);
/** Sets up a size entry: it takes any value a user may type, and shows one that is not a valid
 *  grid dimension in red (black otherwise) as it changes. */
void SetUpGridDimensionEntry(QSpinBox *entry);
/** Colours the entry's text red when its value is not a valid grid dimension, else black. */
void ShowGridDimensionValidity(QSpinBox *entry);

class TSizeFm : public QDialog
{
    Q_OBJECT
public:
    explicit TSizeFm(QWidget *parent = nullptr);
    ~TSizeFm() override;

    QSpinBox *ColCountSpEd = nullptr;
    QSpinBox *RowCountSpEd = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *HelpBtn = nullptr;

    /** The explanation shown by Help (begins "Drawing a Pattern"). */
    static QString HelpText();

public slots:
    /** Loads Columns and Rows into the entries and takes the dialog colour. */
    void FormShow();
    /** With both entries valid: the size goes to the size controls (as a custom size) and the
     *  dialog closes; otherwise it stays open. */
    void OKBtnClick();
    void ColCountSpEdChange();
    void RowCountSpEdChange();
    void HelpBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TSizeFm> m_ui;
};

/** The dialog, once made (at start-up in the program; else by the first use). */
extern TSizeFm *SizeFm;
