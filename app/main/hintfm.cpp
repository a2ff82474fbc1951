// The help balloon.
#include "hintfm.h"
#include "ui_hintfm.h"

#include "cluesedit.h"
#include "myoverrides.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>

#include <algorithm>

QString ClueEditorRestoreText;
THintFm *HintFm = nullptr;

namespace {
constexpr int kMemoColor = 0xE1FFFF; // clInfoBk, the yellow of the balloon
constexpr int kCloseHotColor = 0xFFFFFF;
constexpr int kDocumentMargin = 2; // inside the memo, above and below the text
const QString kEmptyListMark = QStringLiteral("\001");
} // namespace

QString ExampleWordListText()
{
    const QStringList lines = {
        QStringLiteral("NewJersey\tThe Garden State. Notice that multi-word answers must run together "
                       "as one word."),
        QStringLiteral("Florida\tThe state between the Gulf of Mexico and the Atlantic Ocean. Notice "
                       "that for a long clue the text continues on additional lines that are "
                       "slightly indented."),
        QStringLiteral("Texas\tA big state"),
        QStringLiteral("California\tThe state that has the longest Pacific coastline."),
        QStringLiteral("Hawaii\tIsland state."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

QString ExampleBalloonText()
{
    return QStringLiteral("EXAMPLE WORD LIST") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Below is an example of some words and clues. ") +
           QStringLiteral("Please read the clues for additional instructions") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Your words and clues will be restored when this yellow box is closed. ") +
           QStringLiteral("It closes automatically after a few seconds.");
}

QString InstructionsBalloonText()
{
    return QStringLiteral("ANSWERS:  Type each answer word at the start of a line. ") +
           QStringLiteral("An answer of several words is typed as one word, without blanks ") +
           QStringLiteral("(for example NewJersey).") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("CLUES:  After the answer press the Tab key (or type a blank) ") +
           QStringLiteral("and type its clue. A long clue simply continues; do not press Enter ") +
           QStringLiteral("inside a clue.") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("NEXT WORD:  Press Enter to start the next answer.") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Answers without clues are allowed; stock clues can be added later. ") +
           QStringLiteral("Click \"example\" to see a short list.");
}

THintFm::THintFm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::THintFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("HintFm"));
    BorderPnl = m_ui->BorderPnl;
    HintTextMemo = m_ui->HintTextMemo;
    CloseLnk = m_ui->CloseLnk;
    HintTimer = new QTimer(this);
    HintTimer->setObjectName(QStringLiteral("HintTimer"));

    m_memoColor = ColorFromWin(kMemoColor);
    QPalette memoPalette = HintTextMemo->palette();
    memoPalette.setColor(QPalette::Base, m_memoColor);
    memoPalette.setColor(QPalette::Window, m_memoColor);
    memoPalette.setColor(QPalette::Text, Qt::black);
    HintTextMemo->setPalette(memoPalette);
    HintTextMemo->document()->setDocumentMargin(kDocumentMargin);
    QPalette borderPalette = BorderPnl->palette();
    borderPalette.setColor(QPalette::Window, m_memoColor);
    BorderPnl->setPalette(borderPalette);
    setCloseLnkColor(m_memoColor);

    HintTextMemo->installEventFilter(this);
    HintTextMemo->viewport()->installEventFilter(this);
    CloseLnk->installEventFilter(this);
    connect(HintTimer, &QTimer::timeout, this, &THintFm::HintTimerTimer);

    m_designWidth = width();
    arrangeControls();
    HintFm = this;
}

THintFm::~THintFm()
{
    if (HintFm == this)
        HintFm = nullptr;
}

QRect THintFm::ScreenRect() const
{
    if (m_screen.isValid())
        return m_screen;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return QRect(0, 0, 1024, 768);
}

int THintFm::MemoFontHeight() const { return QFontInfo(HintTextMemo->font()).pixelSize(); }

void THintFm::arrangeControls()
{
    const int w = width();
    const int h = height();
    BorderPnl->setGeometry(0, 0, w, h);
    const int closeWidth = CloseLnk->width();
    const int closeHeight = CloseLnk->height();
    // The Close link keeps its place at the right; it sits at the bottom of the client area.
    CloseLnk->move(w - BorderWidth - closeWidth, h - closeHeight - BorderWidth);
    HintTextMemo->setGeometry(BorderWidth, BorderWidth, w - 2 * BorderWidth,
                              std::max(0, h - 2 * BorderWidth - closeHeight));
}

void THintFm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrangeControls();
}

void THintFm::setMemoText(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QChar(u'\r'), QChar(u'\n'));
    HintTextMemo->clear();
    HintTextMemo->setPlainText(plain);
    // Every line is |font height| + 2 pixels high, as the balloon's height assumes.
    QTextCursor cursor(HintTextMemo->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(MemoFontHeight() + 2, QTextBlockFormat::FixedHeight);
    cursor.mergeBlockFormat(format);
    HintTextMemo->moveCursor(QTextCursor::Start);
}

int THintFm::WrappedLineCount() const
{
    // The memo has neither frame nor scroll bar: its text is laid out over its whole width.
    QTextDocument *document = HintTextMemo->document();
    document->setTextWidth(HintTextMemo->width());
    document->size(); // finishes the layout
    int lines = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        lines += layout ? std::max(1, layout->lineCount()) : 1;
    }
    return std::max(1, lines);
}

void THintFm::ShowBalloon(const QString &text, int x, int seconds, int y)
{
    arrangeControls(); // the memo's width follows a caller's widening
    setMemoText(text);
    const int lines = WrappedLineCount();
    resize(width(), lines * (MemoFontHeight() + 2) + 28);
    arrangeControls();

    const QRect screen = ScreenRect();
    int left = x - width() + CloseLnk->x();
    left = std::min(left, screen.left() + screen.width() - width());
    left = std::max(left, screen.left());
    int top = y + 30;
    top = std::min(top, screen.top() + screen.height() - height());
    top = std::max(top, screen.top());
    move(left, top);

    HintTimer->setInterval(std::max(0, seconds) * 1000);
    const bool wasVisible = isVisible();
    setCloseLnkColor(m_memoColor);
    show();
    // Over a modal dialog the balloon belongs to that dialog, so its Close link takes clicks.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != this && windowHandle())
        windowHandle()->setTransientParent(modal->windowHandle());
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        raise(); // (the headless platform of the tests cannot, and says so)
    activateWindow();
    if (wasVisible)
        HintTimer->start(); // the show handler starts it otherwise
}

void THintFm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    HintTimer->start();
}

void THintFm::CloseBalloon()
{
    HintTimer->stop();
    if (!ClueEditorRestoreText.isEmpty()) {
        const QString text = ClueEditorRestoreText == kEmptyListMark ? QString() : ClueEditorRestoreText;
        ClueEditorRestoreText.clear(); // first: the editor's change handlers may ask again
        if (m_setText)
            m_setText(text);
    }
    resize(m_designWidth, height());
    arrangeControls();
    hide();
    if (windowHandle())
        windowHandle()->setTransientParent(parentWidget() ? parentWidget()->window()->windowHandle()
                                                          : nullptr);
}

void THintFm::PutBackExampleList()
{
    if (!ClueEditorRestoreText.isEmpty())
        CloseBalloon();
}

void THintFm::ShowExampleWordList(int x, int y)
{
    if (ClueEditorRestoreText.isEmpty()) {
        const QString text = m_getText ? m_getText() : QString();
        ClueEditorRestoreText = text.isEmpty() ? kEmptyListMark : text;
    }
    if (m_setText)
        m_setText(ExampleWordListText());
    ShowBalloon(ExampleBalloonText(), x, 30, y);
}

void THintFm::ShowInstructions(int x, int y) { ShowBalloon(InstructionsBalloonText(), x, 50, y); }

void THintFm::SetClueEditorAccess(TGetText getText, TSetText setText)
{
    m_getText = std::move(getText);
    m_setText = std::move(setText);
}

void THintFm::SetClueEditor(TCluesEdit *editor)
{
    if (!editor) {
        SetClueEditorAccess({}, {});
        return;
    }
    QPointer<TCluesEdit> guarded(editor);
    SetClueEditorAccess([guarded] { return guarded ? guarded->GetAllText() : QString(); },
                        [guarded](const QString &text) {
                            if (guarded)
                                guarded->SetAllText(text);
                        });
}

void THintFm::HintTimerTimer() { CloseBalloon(); }

void THintFm::CloseLnkClick() { CloseBalloon(); }

void THintFm::FormDeactivate()
{
    if (isVisible() && ClueEditorRestoreText.isEmpty())
        CloseBalloon();
}

void THintFm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        CloseBalloon();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THintFm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
}

void THintFm::setCloseLnkColor(const QColor &color)
{
    QPalette palette = CloseLnk->palette();
    if (palette.color(QPalette::Window) == color)
        return;
    palette.setColor(QPalette::Window, color);
    CloseLnk->setPalette(palette);
}

bool THintFm::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == CloseLnk) {
        if (type == QEvent::Enter || type == QEvent::MouseMove)
            setCloseLnkColor(ColorFromWin(kCloseHotColor));
        else if (type == QEvent::MouseButtonRelease &&
                 static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            CloseLnkClick();
            return true;
        }
    } else if (watched == HintTextMemo || watched == HintTextMemo->viewport()) {
        if (type == QEvent::Enter || type == QEvent::MouseMove)
            setCloseLnkColor(m_memoColor);
        else if (type == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            CloseBalloon();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
