#pragma once

// Puts Qt's own texts (a text box's context menu, standard dialog buttons) in Brazilian
// Portuguese, whatever the system's language, since every text of the program is Portuguese.
// Returns false, leaving Qt's English, when Qt's translations are not installed.
bool installQtTranslations();
