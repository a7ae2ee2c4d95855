#include "messages.h"

#include "cp1251.h"

namespace engine::msg {

const std::string kStackOverflow = Cp1251("Ошибка:Стек преполнен");
const std::string kStackUnderflow = Cp1251("Ошибка:Стек пуст");
const std::string kLineTooLong = Cp1251("Ошибка:Строка скрипта слишком длинная");
const std::string kNestingTooDeep = Cp1251("Ошибка:Слишком много вложенных строк скрипта");
const std::string kExecutingLine = Cp1251("Выполнение строки:");
const std::string kToStack = Cp1251("В стек:");
const std::string kStack = Cp1251("Cтек:");
const std::string kDefinition = Cp1251("Определение :");
const std::string kDefinitionEnd = Cp1251(": конец определения");
const std::string kExecuting = Cp1251("Выполнение:");
const std::string kOnStack = Cp1251("На стеке:");
const std::string kCells = Cp1251("Ячейки:");

}  // namespace engine::msg
