<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="bg_BG">
<context>
    <name>MainWindow</name>
    <message>
        <source>System Params</source>
        <translation>Системни параметри</translation>
    </message>
    <message>
        <source>Departments</source>
        <translation>Департаменти</translation>
    </message>
    <message>
        <source>Header Lines</source>
        <translation>Заглавни редове</translation>
    </message>
    <message>
        <source>Comment Lines</source>
        <translation>Редове за коментар</translation>
    </message>
    <message>
        <source>Payments</source>
        <translation>Плащания</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Помощ</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Опции</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Нов</translation>
    </message>
    <message>
        <source>Create a New Document</source>
        <translation>Създаване на нов документ</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Отваряне</translation>
    </message>
    <message>
        <source>Open an Existing Document</source>
        <translation>Отваряне на съществуващ документ</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Запис</translation>
    </message>
    <message>
        <source>Save a Document</source>
        <translation>Запис на документа</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Запис като</translation>
    </message>
    <message>
        <source>Save under Different Name</source>
        <translation>Запис под друго име</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Изход</translation>
    </message>
    <message>
        <source>Exit Application</source>
        <translation>Изход от програмата</translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation>Ctrl+X</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Относно</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Program Settings</source>
        <translation>Настройки на програмата</translation>
    </message>
    <message>
        <source>Num</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Име</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Стойност</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Цена</translation>
    </message>
    <message>
        <source>Tax</source>
        <translation>Данък</translation>
    </message>
    <message>
        <source>Digits</source>
        <translation>Цифри</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Индекс</translation>
    </message>
    <message>
        <source>Version : </source>
        <translation>Версия : </translation>
    </message>
    <message>
        <source>Build at : </source>
        <translation>Компилирана на : </translation>
    </message>
    <message>
        <source>About </source>
        <translation>Относно </translation>
    </message>
    <message>
        <source>TARVO VODI</source>
        <translation>TARVO VODI</translation>
    </message>
    <message>
        <source>Data files (*.prg);;All files (*.*)</source>
        <translation>Файлове с данни (*.prg);;Всички файлове (*.*)</translation>
    </message>
    <message>
        <source>Save to File</source>
        <translation>Запис във файл</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Отваряне на файл</translation>
    </message>
    <message>
        <source>Failed to load file: %1</source>
        <translation>Файлът не може да бъде зареден: %1</translation>
    </message>
    <message>
        <source>Wrong encoding of the file: %1</source>
        <translation>Грешна кодировка на файла: %1</translation>
    </message>
    <message>
        <source>Bad format of the file: %1</source>
        <translation>Грешен формат на файла: %1</translation>
    </message>
    <message>
        <source>Do you want to close current document?</source>
        <translation>Желаете ли да затворите текущия документ?</translation>
    </message>
    <message>
        <source>New Document</source>
        <translation>Нов документ</translation>
    </message>
    <message>
        <source>Document opened</source>
        <translation>Документът е отворен</translation>
    </message>
    <message>
        <source>Failed to open for reading file %1</source>
        <translation>Файлът %1 не може да бъде отворен за четене</translation>
    </message>
    <message>
        <source>Document saved</source>
        <translation>Документът е записан</translation>
    </message>
    <message>
        <source>Faild to open for writing file %1</source>
        <translation>Файлът %1 не може да бъде отворен за запис</translation>
    </message>
    <message>
        <source>%1, row %2, %3: %4</source>
        <translation>%1, ред %2, %3: %4</translation>
    </message>
    <message>
        <source>The encoding %1 cannot hold some characters; the file has its replacement character in their place:</source>
        <translation>Кодировката %1 не съдържа някои знаци; на тяхно място във файла е записан заместващ знак:</translation>
    </message>
    <message numerus="yes">
        <source>and %n more cells; the details list them all</source>
        <translation>
            <numerusform>и още %n клетка; подробностите изброяват всички</numerusform>
            <numerusform>и още %n клетки; подробностите изброяват всички</numerusform>
        </translation>
    </message>
    <message>
        <source>Do you want to quit application?</source>
        <translation>Желаете ли да излезете от програмата?</translation>
    </message>
    <message>
        <source>Header %1</source>
        <translation>Заглавен ред %1</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Не</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Редактиране</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отмени</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повтори</translation>
    </message>
    <message>
        <source>clearing of the document</source>
        <translation>изчистването на документа</translation>
    </message>
    <message>
        <source>edit of %1, row %2</source>
        <translation>промяната в %1, ред %2</translation>
    </message>
    <message>
        <source>paste of one cell</source>
        <translation>поставянето на една клетка</translation>
    </message>
    <message numerus="yes">
        <source>paste of %n cells</source>
        <translation>
            <numerusform>поставянето на %n клетка</numerusform>
            <numerusform>поставянето на %n клетки</numerusform>
        </translation>
    </message>
    <message>
        <source>deletion of one cell</source>
        <translation>изтриването на една клетка</translation>
    </message>
    <message numerus="yes">
        <source>deletion of %n cells</source>
        <translation>
            <numerusform>изтриването на %n клетка</numerusform>
            <numerusform>изтриването на %n клетки</numerusform>
        </translation>
    </message>
    <message>
        <source>cut of one cell</source>
        <translation>изрязването на една клетка</translation>
    </message>
    <message numerus="yes">
        <source>cut of %n cells</source>
        <translation>
            <numerusform>изрязването на %n клетка</numerusform>
            <numerusform>изрязването на %n клетки</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Отмени %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Повтори %1</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Encoding</source>
        <translation>Кодировка</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отказ</translation>
    </message>
</context>
<context>
    <name>WTableWidget</name>
    <message>
        <source>Copy</source>
        <translation>Копиране</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Поставяне</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Изрежи</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Изтрий</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Избери всички</translation>
    </message>
</context>
</TS>
