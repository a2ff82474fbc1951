// The quick tour.
#include "tourdlg.h"

#include "mainfm.h"
#include "prompter.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

const char *const TTourDlg::PageNames[8] = {"Intro", "Two Types", "Choose", "Auto Clues",
                                            "Uses",  "Publish",   "Hints",  "Hints 2"};

namespace {

// The text of each page, in order.
const char *const kPageTexts[8] = {
    "Welcome to Tarvel, the program that makes crossword puzzles from your own words and clues.\n\n"
    "This short tour shows the main steps and sets up the program for the puzzles you make most.",
    "Tarvel makes two types of puzzles.\n\n"
    "A freeform crossword (left) is built from your words alone: the program lays them out so they "
    "cross, and the grid takes whatever shape suits them.\n\n"
    "A symmetrical crossword (right) has the square, symmetrical grid of a newspaper puzzle. Your words "
    "go in first and the program fills the rest of the grid from its dictionary.",
    "Which type of puzzle will you make most often? The program starts with it; you will still be "
    "able to make both types of puzzles.",
    "Every word in the puzzle needs a clue. Type your own beside your words, or let the program add "
    "stock clues for the words you did not clue (Clues menu).",
    "Print your puzzle for a class, a newsletter or a party, keep it as a PDF file, or put it on a "
    "web page where it can be solved on screen.",
    "To share a puzzle on the web, click the One-Click Publish button: the puzzle goes on the web, "
    "ready to be solved on screen. The program can also save it as an interactive web page for your "
    "own site.",
    "Hints: the tabs of the main window take you through the steps: the puzzle type, your words and "
    "clues, the grid, and for a symmetrical puzzle the other clues. The Make Puzzle button with the "
    "traffic light builds the puzzle: green means ready.",
    "More hints: the page tabs over the puzzle show it as it will print. File > Print prints it. The "
    "Help menu opens this tour again.",
};

// The picture of the step tabs is cropped to the tabs a puzzle type uses: three for a freeform
// puzzle, four for a symmetrical one.
constexpr int kFreeformTabsWidth = 222;
constexpr int kSymmetricalTabsWidth = 291;

// Two pictures side by side, each with what belongs under it.
void addSideBySide(QVBoxLayout *pageLayout, QWidget *left, QWidget *leftBelow, QWidget *right,
                   QWidget *rightBelow)
{
    auto *row = new QGridLayout;
    row->setHorizontalSpacing(40);
    row->addWidget(left, 0, 0, Qt::AlignHCenter | Qt::AlignBottom);
    row->addWidget(right, 0, 1, Qt::AlignHCenter | Qt::AlignBottom);
    if (leftBelow)
        row->addWidget(leftBelow, 1, 0, Qt::AlignHCenter);
    if (rightBelow)
        row->addWidget(rightBelow, 1, 1, Qt::AlignHCenter);
    auto *centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(row);
    centred->addStretch();
    pageLayout->addLayout(centred);
}

} // namespace

TTourDlg::TTourDlg(const TTourHooks &hooks, QWidget *parent) : QDialog(parent), m_hooks(hooks)
{
    setObjectName(QStringLiteral("TourDlg"));
    setWindowTitle(QStringLiteral("Tarvel\u00AE"));
    auto *layout = new QVBoxLayout(this);
    TourNtBk = new QStackedWidget(this);
    TourNtBk->setObjectName(QStringLiteral("TourNtBk"));
    layout->addWidget(TourNtBk);
    for (int i = 0; i < 8; ++i) {
        auto *page = new QWidget(TourNtBk);
        page->setObjectName(QLatin1String(PageNames[i]));
        auto *pageLayout = new QVBoxLayout(page);
        auto *text = new QLabel(QString::fromUtf8(kPageTexts[i]), page);
        text->setWordWrap(true);
        text->setMinimumWidth(420);
        pageLayout->addWidget(text);
        pageLayout->addSpacing(8);
        switch (i) {
        case 1:
            FreeformImg = addPicture(page, "FreeformImg", ":/TourFreeform");
            SymmetricalImg = addPicture(page, "SymmetricalImg", ":/TourSymmetrical");
            addSideBySide(pageLayout, FreeformImg, nullptr, SymmetricalImg, nullptr);
            break;
        case 2:
            SetupLooseImg = addPicture(page, "SetupLooseImg", ":/TourFreeform");
            SetupTightImg = addPicture(page, "SetupTightImg", ":/TourSymmetrical");
            SetupLooseRB = new QRadioButton(QStringLiteral("Freeform crossword puzzles"), page);
            SetupLooseRB->setObjectName(QStringLiteral("SetupLooseRB"));
            SetupTightRB = new QRadioButton(QStringLiteral("Symmetrical crossword puzzles"), page);
            SetupTightRB->setObjectName(QStringLiteral("SetupTightRB"));
            addSideBySide(pageLayout, SetupLooseImg, SetupLooseRB, SetupTightImg, SetupTightRB);
            for (QLabel *picture : {SetupLooseImg, SetupTightImg})
                picture->setCursor(Qt::PointingHandCursor);
            connect(SetupLooseRB, &QRadioButton::clicked, this, &TTourDlg::SetupLooseRBClick);
            connect(SetupTightRB, &QRadioButton::clicked, this, &TTourDlg::SetupTightRBClick);
            break;
        case 5:
            PublishImg = addPicture(page, "PublishImg", ":/TourPublish");
            pageLayout->addWidget(PublishImg);
            JustAPictureLbl4 = addNote(page, PublishImg, "JustAPictureLbl4",
                                       "This is just a picture. The real One-Click Publish button is on "
                                       "the main form's speed bar.");
            break;
        case 6:
            StepTabsImg = addPicture(page, "StepTabsImg", ":/TourStepTabs");
            StepTabsImg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            StepTabsImg->setFixedWidth(SetupTight ? kSymmetricalTabsWidth : kFreeformTabsWidth);
            pageLayout->addWidget(StepTabsImg);
            JustAPictureLbl = addNote(page, StepTabsImg, "JustAPictureLbl",
                                      "This is just a picture. The real tabs are on the main form, near "
                                      "its right side.");
            TrafficLightImg = addPicture(page, "TrafficLightImg", ":/TourMakePuzzle");
            pageLayout->addSpacing(8);
            pageLayout->addWidget(TrafficLightImg);
            JustAPictureLbl2 = addNote(page, TrafficLightImg, "JustAPictureLbl2",
                                       "This is just a picture. The real traffic light is on the main "
                                       "form's speed bar.");
            break;
        case 7:
            MenuImg = addPicture(page, "MenuImg", ":/TourMenu");
            pageLayout->addWidget(MenuImg);
            JustAPictureLbl3 = addNote(page, MenuImg, "JustAPictureLbl3",
                                       "This is just a picture. The real menu is at the top of the main "
                                       "form.");
            break;
        default: break;
        }
        pageLayout->addStretch();
        TourNtBk->addWidget(page);
    }
    auto *buttons = new QHBoxLayout;
    PageLbl = new QLabel(this);
    PageLbl->setObjectName(QStringLiteral("PageLbl"));
    BackBtn = new QPushButton(QStringLiteral("<<  &Back"), this);
    BackBtn->setObjectName(QStringLiteral("BackBtn"));
    NextBtn = new QPushButton(QStringLiteral("&Next  >>"), this);
    NextBtn->setObjectName(QStringLiteral("NextBtn"));
    NextBtn->setDefault(true);
    ExitBtn = new QPushButton(QStringLiteral("Exit Setup"), this);
    ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    buttons->addWidget(PageLbl);
    buttons->addStretch();
    buttons->addWidget(BackBtn);
    buttons->addWidget(NextBtn);
    buttons->addWidget(ExitBtn);
    layout->addLayout(buttons);
    connect(NextBtn, &QPushButton::clicked, this, &TTourDlg::NextBtnClick);
    connect(BackBtn, &QPushButton::clicked, this, &TTourDlg::BackBtnClick);
    connect(ExitBtn, &QPushButton::clicked, this, &TTourDlg::ExitBtnClick);

    // The type chosen before.
    SetupLooseRB->setChecked(SetupLoose);
    SetupTightRB->setChecked(SetupTight);
    showPage(0);
}

QLabel *TTourDlg::addPicture(QWidget *page, const char *name, const char *resource)
{
    auto *picture = new QLabel(page);
    picture->setObjectName(QLatin1String(name));
    const QPixmap pixmap(QString::fromLatin1(resource));
    picture->setPixmap(pixmap);
    picture->setFixedSize(pixmap.deviceIndependentSize().toSize());
    picture->installEventFilter(this);
    return picture;
}

QLabel *TTourDlg::addNote(QWidget *page, QLabel *picture, const char *name, const char *text)
{
    auto *note = new QLabel(QLatin1String(text), page);
    note->setObjectName(QLatin1String(name));
    note->setWordWrap(true);
    note->hide();
    page->layout()->addWidget(note);
    m_notes.emplace_back(picture, note);
    return note;
}

void TTourDlg::showEvent(QShowEvent *event)
{
    showPage(0);
    QDialog::showEvent(event);
    NextBtn->setFocus();
}

bool TTourDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QDialog::eventFilter(watched, event);
    if (watched == SetupLooseImg || watched == SetupTightImg) {
        (watched == SetupLooseImg ? SetupLooseRB : SetupTightRB)->click();
        return true;
    }
    for (const auto &[picture, note] : m_notes) {
        if (watched == picture) {
            note->show();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TTourDlg::showPage(int index)
{
    TourNtBk->setCurrentIndex(index);
    PageLbl->setText(QStringLiteral("Page %1 of %2").arg(index + 1).arg(TourNtBk->count()));
}

void TTourDlg::NextBtnClick()
{
    const int index = TourNtBk->currentIndex();
    if (index == 2 && !SetupLooseRB->isChecked() && !SetupTightRB->isChecked()) {
        showInformation(QStringLiteral("Please make a selection of one of the puzzle types.") +
                        QStringLiteral("\r\n\r\n") +
                        QStringLiteral("You will still be able to make both types of puzzles."));
        return;
    }
    if (index + 1 >= TourNtBk->count()) {
        accept();
        return;
    }
    showPage(index + 1);
}

void TTourDlg::BackBtnClick()
{
    const int index = TourNtBk->currentIndex();
    if (index == 0) {
        showInformation(QStringLiteral("You are on the first page."));
        return;
    }
    showPage(index - 1);
}

void TTourDlg::ExitBtnClick() { reject(); }

void TTourDlg::done(int result)
{
    if (!SetupLooseRB->isChecked() && !SetupTightRB->isChecked())
        SetupLooseRBClick();
    QDialog::done(result);
}

void TTourDlg::SetupLooseRBClick() { chooseType(0); }
void TTourDlg::SetupTightRBClick() { chooseType(1); }

void TTourDlg::chooseType(int type)
{
    // The puzzle changes only when the user lets it (unsaved work is asked about first).
    const bool switched = !m_hooks.ChooseType || m_hooks.ChooseType(type);
    if (!switched) {
        SetupLooseRB->setChecked(SetupLoose);
        SetupTightRB->setChecked(SetupTight);
        return;
    }
    SetupLoose = type == 0;
    SetupTight = type == 1;
    SetupLooseRB->setChecked(SetupLoose);
    SetupTightRB->setChecked(SetupTight);
    if (StepTabsImg)
        StepTabsImg->setFixedWidth(SetupTight ? kSymmetricalTabsWidth : kFreeformTabsWidth);
    if (m_hooks.SavePreferences)
        m_hooks.SavePreferences();
}
