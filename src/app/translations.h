#pragma once

class QCoreApplication;

namespace korvesta {

// Russian for Qt's own texts (the buttons "Да", "Нет", "Отмена" of message boxes, the file
// dialogs) and Russian as the default locale (month and day names, number formats).
void installRussianTranslations(QCoreApplication &app);

} // namespace korvesta
