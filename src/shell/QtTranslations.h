#pragma once
// Qt's own texts (file dialogs, the line edits' menus) in Russian, whatever the desktop's
// locale: the tool speaks Russian throughout.

class QCoreApplication;
class QTranslator;

// Loads Qt's Russian catalogue into the application, which owns it; none when it is not
// installed, and the dialogs then speak English.
QTranslator* InstallQtTranslations(QCoreApplication& application);
