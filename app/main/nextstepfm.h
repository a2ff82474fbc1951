// Shown by TMainFm::mBuildMakeClick through the freeform builder when a freeform
// puzzle is made from an empty word list; created for each showing, modal.
// The advice form: links to the words page's "sample word lists", "import", "instructions" and
// "example" commands, each run through a function the main window sets (unset: link disabled).
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TNextStepFm;
}
class QLabel;

class TNextStepFm : public QDialog
{
    Q_OBJECT
public:
    using TAction = std::function<void()>;

    explicit TNextStepFm(QWidget *parent = nullptr);
    ~TNextStepFm() override;

    QLabel *SampleWordListsLnk = nullptr;
    QLabel *ImportLnk = nullptr;
    QLabel *InstructionsLnk = nullptr;
    QLabel *ExampleLnk = nullptr;

    /** TMainFm::SampleWordListsLnkClick. */
    void SetSampleWordListsAction(TAction action);
    /** TMainFm::ThemeImportLnkClick. */
    void SetImportAction(TAction action);
    /** TMainFm::InstructionsLnkClick. */
    void SetInstructionsAction(TAction action);
    /** The main window shown, then TMainFm::ExampleLnkClick. */
    void SetExampleAction(TAction action);

public slots:
    void SampleWordListsLnkClick();
    void ImportLnkClick();
    void InstructionsLnkClick();
    void ExampleLnkClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateLink(QLabel *link, const TAction &action);

    std::unique_ptr<Ui::TNextStepFm> m_ui;
    TAction m_sampleWordLists;
    TAction m_import;
    TAction m_instructions;
    TAction m_example;
};
