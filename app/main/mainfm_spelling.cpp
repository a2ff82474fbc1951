// The spelling check: the Edit menu's command, the words page's link and the check asked for at idle.
#include "mainfm.h"

void TMainFm::BuildSpellingMenuItem() {}

void TMainFm::IdleSpellingCheck() {}

void TMainFm::mEditSpellingClick() {}

void TMainFm::ThemeCheckSpellingLnkClick() { mEditSpellingClick(); }
