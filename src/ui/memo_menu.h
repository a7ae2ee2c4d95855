// The monitor memos' context menu: Qt's own (copy, select all; in Russian
// with Qt's translations) and "Сохранить как..." (the memo's text as UTF-8)
// and "Очистить".
#pragma once

#include <QString>
#include <functional>

class QMenu;
class QPlainTextEdit;

namespace ui {

// `choose_file` asks for the file to save to ("" when cancelled); `report`
// shows what became of the saving.
void AddMemoMenu(QPlainTextEdit* memo, std::function<QString(const QString& initial)> choose_file,
                 std::function<void(const QString& status)> report);

// The menu that the memo would show; the caller owns it.
QMenu* MakeMemoMenu(QPlainTextEdit* memo);

// Writes the memo's text to the file as UTF-8; false when it cannot, and the
// file is then as it was.
bool SaveMemoText(const QPlainTextEdit* memo, const QString& file);

}  // namespace ui
