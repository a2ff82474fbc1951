// The notice before a symmetrical build on a red, non-empty grid: build on it as it is (OK),
// stop (Cancel), or have a stock pattern chosen for the words ("Get Pattern").
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TAutoPatConfirmDlg;
}

enum class TAutoPatAnswer {
    Ok,
    Cancel,
    GetPattern
};

class TAutoPatConfirmDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TAutoPatConfirmDlg(QWidget *parent = nullptr);
    ~TAutoPatConfirmDlg() override;
    /** Ticks the check box from the preference. */
    void Prepare();
    TAutoPatAnswer Answer() const { return m_answer; }

public slots:
    void NoAutoPatternWarningCBClick();

private:
    std::unique_ptr<Ui::TAutoPatConfirmDlg> m_ui;
    TAutoPatAnswer m_answer = TAutoPatAnswer::Cancel;
};

/** Shows the notice modally and gives the answer; tests put a script in its place. */
extern std::function<TAutoPatAnswer(QWidget *parent)> ShowAutoPatternNotice;
