// "Export As Graphic  (Preview)": chosen parts of one page as a metafile, to a file or the
// clipboard, with a live preview. Made at start-up and shown modeless.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TExportGraphicFm;
}
class QCheckBox;
class QComboBox;
class QLabel;
class QPainter;
class QPushButton;
class TPaintBox;

class TExportGraphicFm : public QDialog
{
    Q_OBJECT
public:
    explicit TExportGraphicFm(QWidget *parent = nullptr);
    ~TExportGraphicFm() override;

    /** The selected page (1-based). */
    int SelectedPage() const;
    /** The part flags of the ticked and enabled boxes for the selected page. */
    int Flags() const;
    /** The page list follows the page count; the boxes follow the selected page. */
    void RefreshPages();

    QComboBox *ExportPageCmBx = nullptr;
    QCheckBox *IncludeTitleCB = nullptr;
    QCheckBox *IncludeGridCB = nullptr;
    QCheckBox *IncludeCluesCB = nullptr;
    QCheckBox *IncludeWordbankCB = nullptr;
    QPushButton *ExportSaveBtn = nullptr;
    QPushButton *CopyToClipboardBtn = nullptr;
    QLabel *ExplainHowToUseEmfLnk = nullptr;
    TPaintBox *ExportPreviewPB = nullptr;

public slots:
    void FormShow();
    void ExportPageCmBxChange();
    void CopyToClipboardBtnClick();
    void ExportSaveBtnClick();
    void AnyBoxClick();
    void IncludeTitleCBClick();
    void ExplainHowToUseEmfLnkClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ExportPreviewPBPaint(QPainter &painter);
    void UpdateBoxes();
    /** "Please indicate what you want to export ..." when the flags give nothing. */
    bool NothingSelected();

    std::unique_ptr<Ui::TExportGraphicFm> m_ui;
};

extern TExportGraphicFm *ExportGraphicFm;
