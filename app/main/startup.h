// The program's start-up: the forms in their fixed order, the splash with its load percentage,
// the deferred puzzle open, and the fades.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;
class TMainFm;

class TStartUp
{
public:
    using FormFactory = std::function<QWidget *()>;

    /** The forms made before the splash, in their order, after the main window. */
    static const QStringList &FormsBeforeSplash();
    /** The forms made while the splash shows, with the percentage shown after each. */
    static const QList<std::pair<QString, int>> &FormsWithSplash();
    /** Sets how a start-up form is made; a form without a factory is not made yet. */
    static void SetFormFactory(const QString &className, FormFactory factory);
    static void ClearFormFactories();

    /** The folder that was current when the program started. The first call fixes it, so the
     *  program calls it before anything changes folder (the main window moves to the program's
     *  folder, where the engine finds its dictionary). */
    static QString StartFolder();
    /** A file name the user handed in, relative to the start folder, as an absolute name; web
     *  addresses, absolute and empty names come back unchanged. */
    static QString ResolveHandedInName(const QString &name);

    TStartUp();
    /** Frees the forms and the main window, the main window last. */
    ~TStartUp();
    TStartUp(const TStartUp &) = delete;
    TStartUp &operator=(const TStartUp &) = delete;

    /** Makes the forms, shows the main window and the splash, opens the pending puzzle and
     *  fades in. A failing step after the splash ends start-up early but leaves the program
     *  ready for its message loop. */
    void Run();

    TMainFm *MainForm() const { return m_mainForm; }
    /** The class names of the forms made, in order ("TMainFm" first). */
    const QStringList &CreatedForms() const { return m_created; }
    /** The percentages shown on the splash, in order. */
    const QList<int> &ProgressShown() const { return m_progress; }
    /** Shows a percentage on the splash (forms that take long report their own steps). */
    void Progress(int percent);

private:
    void CreateForm(const QString &className);

    TMainFm *m_mainForm = nullptr;
    QList<QPointer<QWidget>> m_forms;
    QStringList m_created;
    QList<int> m_progress;
};
