// Shown by TMainFm::ShowBalloon (and TMainFm::ExampleLnkClick / InstructionsLnkClick through it).
// The help balloon: a yellow frameless tool window with the explanation text and a "Close" link
// that every dialog uses for its explanations. It closes on its timer, the Close link, Esc and on
// losing the focus (unless the words page's example list is showing, see ClueEditorRestoreText).
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class THintFm;
}
class QFrame;
class QLabel;
class QTextEdit;
class QTimer;
class TCluesEdit;

/** The word-and-clue editor's whole text saved by the example command while the
 *  example list shows; "\001" stands for an empty list, an empty string for nothing pending.
 *  Closing the balloon puts it back into the editor and empties it. */
extern QString ClueEditorRestoreText;

/** The example list of the words page: five entries, each word, a tab and a clue, one a line. */
QString ExampleWordListText();
/** The balloon text shown with the example list (begins "EXAMPLE WORD LIST"). */
QString ExampleBalloonText();
/** The typing instructions of the words page's "instructions" link (begins "ANSWERS:"). */
QString InstructionsBalloonText();

class THintFm : public QWidget
{
    Q_OBJECT
public:
    using TGetText = std::function<QString()>;
    using TSetText = std::function<void(const QString &)>;

    explicit THintFm(QWidget *parent = nullptr);
    ~THintFm() override;

    QFrame *BorderPnl = nullptr;
    QTextEdit *HintTextMemo = nullptr;
    QLabel *CloseLnk = nullptr;
    QTimer *HintTimer = nullptr;

    /** Border width of the border panel round the memo and the Close link. */
    static constexpr int BorderWidth = 4;

    /** Shows text in the balloon for the given seconds, placed after x and y (screen pixels):
     *  height = wrapped lines x (|memo font height| + 2) + 28; left = x - width + the Close link's
     *  left offset; top = y + 30; both kept within the screen. Not modal. Callers may widen the
     *  balloon (resize) before the call; it gets its design width back when it closes. */
    void ShowBalloon(const QString &text, int x, int seconds, int y);
    /** Stops the timer, puts a pending ClueEditorRestoreText back into the editor (emptying
     *  it), restores the design width and hides. Call it before the document is saved or closed
     *  so the example words never reach a file. */
    void CloseBalloon();
    /** Closes the balloon only while the words page's example list shows, putting the user's
     *  list back; other balloons stay. Commands that act on the list call it first. */
    void PutBackExampleList();

    /** The words page's "example" command (TMainFm::ExampleLnkClick): the editor's text is saved
     *  in ClueEditorRestoreText ("\001" when empty; a text already pending is kept, so a second
     *  "example" does not save the example itself), the editor gets the example list, and the
     *  balloon shows ExampleBalloonText() for 30 seconds at x, y. */
    void ShowExampleWordList(int x, int y);
    /** The words page's "instructions" command: InstructionsBalloonText() for 50 seconds. */
    void ShowInstructions(int x, int y);

    /** How the balloon reaches the word-and-clue editor: its whole text, read and replaced. */
    void SetClueEditorAccess(TGetText getText, TSetText setText);
    /** The same bound to a TCluesEdit's GetAllText / SetAllText (plain text transfer only). */
    void SetClueEditor(TCluesEdit *editor);

    /** The screen rectangle the balloon is kept within; an invalid rectangle (the default)
     *  means the primary screen's available geometry. */
    void SetScreenRect(const QRect &screen) { m_screen = screen; }
    QRect ScreenRect() const;

    /** The form's width at creation, restored at every close. */
    int DesignWidth() const { return m_designWidth; }
    /** |memo font height| in pixels; a memo line is this + 2 pixels high. */
    int MemoFontHeight() const;
    /** The number of lines the memo's current text wraps into at the form's current width. */
    int WrappedLineCount() const;

public slots:
    void HintTimerTimer();
    void CloseLnkClick();
    /** Losing the focus: closes only while no editor text is pending. */
    void FormDeactivate();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void arrangeControls();
    void setCloseLnkColor(const QColor &color);
    void setMemoText(const QString &text);

    std::unique_ptr<Ui::THintFm> m_ui;
    int m_designWidth = 0;
    QRect m_screen;
    TGetText m_getText;
    TSetText m_setText;
    QColor m_memoColor;
};

/** The balloon, once made (at start-up in the program; by tests as needed). */
extern THintFm *HintFm;
