// Changes of the document that the window's controls follow: the document sends them, the
// controls connect to them (as views follow a TClueGrid).
#pragma once

#include <QObject>

class TDocumentEvents : public QObject
{
    Q_OBJECT

public:
    /** The one sender of the run. */
    static TDocumentEvents &Instance();

signals:
    /** CustomAlphabet changed, or its display is to be brought up to date. */
    void AlphabetChanged();
    /** The puzzle size was set; custom: the size list's last item is to name this size. */
    void PuzzleDimensionsChanged(int columns, int rows, bool custom);
    /** The cells marked for a slot length changed (CurrentSlotMarks); the view repaints them. */
    void SlotMarksChanged();
};
