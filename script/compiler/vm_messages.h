// The run-time error messages of the script machine, as the log shows them.
#pragma once

const wchar_t* const kVmErrorStackOverflow = L"Переполнение стека";
const wchar_t* const kVmErrorStackDamaged = L"Повреждение стека";
const wchar_t* const kVmErrorBadInstruction = L"Неизвестная инструкция";
const wchar_t* const kVmErrorVariableNotFound = L"Переменная \"%ls\" не найдена";  // with the name
const wchar_t* const kVmErrorThisUndefined = L"this не определено";
const wchar_t* const kVmErrorIndexNoReference = L"Команда vm_index не обнаружила ссылку.";
const wchar_t* const kVmErrorNotArray = L"Данные не являются массивом.";
const wchar_t* const kVmErrorBadIndex = L"Неверный индекс массива (%d)";  // with the index
const wchar_t* const kVmErrorFieldNoReference = L"Команда vm_field не обнаружила ссылку.";
const wchar_t* const kVmErrorMemberNotFound = L"Метод или свойство не найдено.";
const wchar_t* const kVmErrorMachine = L"Ошибка виртуальной машины!";
const wchar_t* const kVmErrorLoadNoReference = L"Команда vm_load не обнаружила ссылку.";
const wchar_t* const kVmErrorStoreNoReference = L"Команда vm_store не обнаружила ссылку.";
const wchar_t* const kVmErrorCannotAdd = L"Невозможно сложить указанные типы данных";
const wchar_t* const kVmErrorCannotSubtract = L"Невозможно вычесть указанные типы данных";
const wchar_t* const kVmErrorCannotMultiply = L"Невозможно перемножить указанные типы данных";
const wchar_t* const kVmErrorCannotDivide = L"Невозможно произвести деление указанных типов данных";
const wchar_t* const kVmErrorCannotNegate = L"Невозможно изменить знак указанному типу данных";
const wchar_t* const kVmErrorCannotCompare = L"Невозможно сравнить данные типы данных";
const wchar_t* const kVmErrorNotFunction = L"Указанный тип данных не является функцией";
const wchar_t* const kVmErrorDeleteNoReference = L"vm_delete не обраружила ссылки";
const wchar_t* const kVmErrorWithNoReference = L"В стеке нет ссылки";
const wchar_t* const kVmErrorNegativeDeleteCount = L"Число удаляемых элементов массива не может быть отрицательной";
// Limits that keep a running script from exhausting the program's memory.
const wchar_t* const kVmErrorTextTooLong = L"Слишком длинная строка";
const wchar_t* const kVmErrorArrayTooLarge = L"Слишком большой массив";
const wchar_t* const kVmErrorNoMemory = L"Недостаточно памяти";
