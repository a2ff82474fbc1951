// The document's change signals.
#include "docevents.h"

TDocumentEvents &TDocumentEvents::Instance()
{
    static TDocumentEvents events;
    return events;
}
