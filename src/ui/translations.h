// Qt's own Russian texts (dialog buttons, context menus), whatever the
// system's locale: the program's own texts are Russian.
#pragma once

class QCoreApplication;

namespace ui {

// Installs Qt's Russian translations from Qt's translations folder (Debian:
// qt6-translations-l10n) or a "translations" folder beside the program.
// False when none was found; the window then keeps Qt's English texts.
bool LoadQtTranslations(QCoreApplication& app);

}  // namespace ui
