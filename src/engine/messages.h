// The engine's own texts, as Windows-1251 bytes.
#pragma once

#include <string>

namespace engine::msg {

extern const std::string kStackOverflow;   // "Ошибка:Стек преполнен"
extern const std::string kStackUnderflow;  // "Ошибка:Стек пуст"
extern const std::string kLineTooLong;
extern const std::string kNestingTooDeep;
extern const std::string kExecutingLine;   // "Выполнение строки:"
extern const std::string kToStack;         // "В стек:"
extern const std::string kStack;           // "Cтек:" (Latin C)
extern const std::string kDefinition;      // "Определение :"
extern const std::string kDefinitionEnd;   // ": конец определения"
extern const std::string kExecuting;       // "Выполнение:"
extern const std::string kOnStack;         // "На стеке:"
extern const std::string kCells;           // "Ячейки:"

}  // namespace engine::msg
