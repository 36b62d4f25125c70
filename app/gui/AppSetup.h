// AppSetup — the application object's name and the program's language:
// German throughout, also in the texts that Qt's own widgets bring along.
//
// The program's own captions and messages are German already. Qt's standard
// parts (the buttons of message boxes and input boxes, the file and page
// set-up dialogs, the month and weekday names of the date picker) follow the
// default locale and Qt's translation catalogue; this sets both to German.
#pragma once

#include <QString>

class QCoreApplication;

namespace nodalis {

// Sets the default locale to German (Germany) and installs Qt's German
// translations ("qtbase_de.qm") from Dir, by default Qt's own translations
// folder. Returns false when the catalogue is missing or unreadable: the
// program then runs on with Qt's English texts in those standard parts.
// Call after the application object exists and before any widget is made.
bool UseGermanUi(QCoreApplication& App, const QString& Dir = QString());

// The program's set-up of its application object: the name "Nodalis" and
// the German language above. No display name is set: the window system
// integration would append it to every window's caption.
void SetUpApplication(QCoreApplication& App);

}  // namespace nodalis
