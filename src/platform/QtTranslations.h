#pragma once

class QTranslator;

namespace QtTranslations {

// Loads Qt's own Japanese texts (file, font and message dialogs, their
// buttons) into `translator` from Qt's translations folder. The program
// speaks Japanese whatever the system's language, so Japanese is asked for
// by name. False when the translations are not installed.
bool loadJapanese(QTranslator &translator);

} // namespace QtTranslations
