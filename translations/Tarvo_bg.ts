<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="bg_BG">
<context>
    <name>CommandLine</name>
    <message>
        <source>Show this help and exit.</source>
        <translation>Показва тази помощ и излиза.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Показва версията и излиза.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>A program file (.prg) to open.</source>
        <translation>Програмен файл (.prg) за отваряне.</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[ФАЙЛ]</translation>
    </message>
    <message>
        <source>Only one file can be opened at a time.</source>
        <translation>Може да се отвори само един файл наведнъж.</translation>
    </message>
    <message>
        <source>Try &apos;tarvo --help&apos;.</source>
        <translation>Вижте &apos;tarvo --help&apos;.</translation>
    </message>
    <message>
        <source>cannot write standard output: %1</source>
        <translation>стандартният изход не може да бъде записан: %1</translation>
    </message>
</context>
<context>
    <name>DocumentFind</name>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Търсене...</translation>
    </message>
    <message>
        <source>Find a cell by name, value or number</source>
        <translation>Търсене на клетка по име, стойност или номер</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Търсене на &amp;следващо</translation>
    </message>
    <message>
        <source>Not found: %1</source>
        <translation>Не е намерено: %1</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Търсене</translation>
    </message>
    <message>
        <source>Name, value or number:</source>
        <translation>Име, стойност или номер:</translation>
    </message>
</context>
<context>
    <name>FileFailure</name>
    <message>
        <source>No such file or directory</source>
        <translation>Няма такъв файл или папка</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Достъпът е отказан</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Операцията не е разрешена</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Файловата система е само за четене</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>Няма свободно място на диска</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Дисковата квота е изчерпана</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Грешка при четене или запис на диска</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Това е папка</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Част от пътя не е папка</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>Името на файла е твърде дълго</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Твърде много нива на символни връзки</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>Файлът е твърде голям</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Твърде много отворени файлове</translation>
    </message>
    <message>
        <source>Too many open files in system</source>
        <translation>Твърде много отворени файлове в системата</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>Файлът се използва от изпълнявана програма</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Устройството или ресурсът е зает</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>Няма такова устройство или адрес</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>Няма достатъчно памет</translation>
    </message>
    <message>
        <source>Stale file handle</source>
        <translation>Връзката с файла е загубена</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Това не е обикновен файл</translation>
    </message>
    <message>
        <source>The file is read-only</source>
        <translation>Файлът е само за четене</translation>
    </message>
    <message>
        <source>The file changed while it was being saved</source>
        <translation>Файлът беше променен по време на записа</translation>
    </message>
    <message>
        <source>The file is too large to be rewritten in place</source>
        <translation>Файлът е твърде голям, за да бъде презаписан на място</translation>
    </message>
    <message>
        <source>The previous contents of the file could not be put back.</source>
        <translation>Предишното съдържание на файла не можа да бъде възстановено.</translation>
    </message>
    <message>
        <source>Reason: %1</source>
        <translation>Причина: %1</translation>
    </message>
    <message>
        <source>The folder or the file does not allow saving here. Choose File ▸ Save As to save the document in another folder or under another name.</source>
        <translation>Папката или файлът не позволяват запис тук. Изберете Файл ▸ Запис като, за да запишете документа в друга папка или под друго име.</translation>
    </message>
    <message>
        <source>Free some space, or choose File ▸ Save As to save the document on another disk.</source>
        <translation>Освободете място или изберете Файл ▸ Запис като, за да запишете документа на друг диск.</translation>
    </message>
    <message>
        <source>Check the file&apos;s name and that you may read it, then open it again.</source>
        <translation>Проверете името на файла и дали имате право да го четете, след това го отворете отново.</translation>
    </message>
    <message>
        <source>Your changes are still in the window; try again, or choose File ▸ Save As to save them elsewhere.</source>
        <translation>Промените ви са все още в прозореца; опитайте отново или изберете Файл ▸ Запис като, за да ги запишете другаде.</translation>
    </message>
    <message>
        <source>it is %1 bytes, more than the %2 bytes (%3 MiB) a program file may have</source>
        <translation>той е %1 байта, повече от %2 байта (%3 MiB), които може да има програмен файл</translation>
    </message>
    <message>
        <source>it would be %1 bytes, more than the %2 bytes (%3 MiB) a program file may have</source>
        <translation>той би бил %1 байта, повече от %2 байта (%3 MiB), които може да има програмен файл</translation>
    </message>
    <message>
        <source>it reads as more than the %1 bytes its size says (a file of the system, or one being written)</source>
        <translation>при четене е повече от %1 байта, колкото казва размерът му (системен файл или файл, който се записва в момента)</translation>
    </message>
    <message>
        <source>it reads as %1 bytes although its size says %2 (a file of the system, or one being written)</source>
        <translation>при четене е %1 байта, макар размерът му да е %2 (системен файл или файл, който се записва в момента)</translation>
    </message>
    <message>
        <source>it changed while it was read</source>
        <translation>беше променен, докато се четеше</translation>
    </message>
    <message>
        <source>Your changes are still in the window; shorten the longest texts of the document, then save again.</source>
        <translation>Промените ви са все още в прозореца; съкратете най-дългите текстове в документа и запишете отново.</translation>
    </message>
    <message>
        <source>A program file of the device holds a few kilobytes: this file is none.</source>
        <translation>Програмният файл на устройството е от няколко килобайта: този файл не е такъв.</translation>
    </message>
    <message>
        <source>Your changes are still in the window; try again.</source>
        <translation>Промените ви са все още в прозореца; опитайте отново.</translation>
    </message>
    <message>
        <source>Wait until no other program writes the file, then open it again.</source>
        <translation>Изчакайте, докато никоя друга програма не записва файла, и го отворете отново.</translation>
    </message>
</context>
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
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Опции</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Помощ</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Редактиране</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Нов</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Отваряне</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Запис</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Запис &amp;като</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Изход</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Настройки</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Относно</translation>
    </message>
    <message>
        <source>&amp;Recent Files</source>
        <translation>&amp;Последни файлове</translation>
    </message>
    <message>
        <source>en_GB</source>
        <comment>the locale of this translation, for the build date</comment>
        <translation>bg_BG</translation>
    </message>
    <message>
        <source>The parameter names file %1 was not found; the names of the system parameters are empty.</source>
        <translation>Файлът с имената на параметрите %1 не е намерен; имената на системните параметри са празни.</translation>
    </message>
    <message>
        <source>The document has changes that are not saved. Save them before quitting?</source>
        <translation>Документът има незаписани промени. Да бъдат ли записани преди изход?</translation>
    </message>
    <message>
        <source>Save</source>
        <comment>button</comment>
        <translation>Запиши</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Отхвърли</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>%1, row %2, %3</source>
        <translation>%1, ред %2, %3</translation>
    </message>
    <message>
        <source>it is not a whole number</source>
        <translation>не е цяло число</translation>
    </message>
    <message>
        <source>it is not a decimal number</source>
        <translation>не е десетично число</translation>
    </message>
    <message>
        <source>Value &quot;%1&quot; refused in %2: %3; the cell is empty</source>
        <translation>Стойността „%1“ в %2 е отхвърлена: %3; клетката е празна</translation>
    </message>
    <message numerus="yes">
        <source>(and %n more refused values)</source>
        <translation>
            <numerusform>(и още %n отхвърлена стойност)</numerusform>
            <numerusform>(и още %n отхвърлени стойности)</numerusform>
        </translation>
    </message>
    <message>
        <source>The file %1 reads as unlikely text in %2: it is most likely in %3.</source>
        <translation>Файлът %1 се чете като неправдоподобен текст в %2: най-вероятно е в %3.</translation>
    </message>
    <message>
        <source>The file %1 holds bytes that are no characters of %2: read so, they would show as replacement characters, and saving would lose them.</source>
        <translation>Файлът %1 съдържа байтове, които не са знаци в %2: прочетени така, те ще се покажат като заместващи знаци, а при запис ще бъдат загубени.</translation>
    </message>
    <message>
        <source>It reads cleanly in no encoding of the list.</source>
        <translation>Не се чете без загуби в нито една кодировка от списъка.</translation>
    </message>
    <message>
        <source>It reads cleanly in %1 (the most likely first).</source>
        <translation>Чете се без загуби в %1 (най-вероятната е първа).</translation>
    </message>
    <message>
        <source>Open in %1</source>
        <translation>Отвори в %1</translation>
    </message>
    <message>
        <source>Open in %1 as it is</source>
        <translation>Отвори в %1 както е</translation>
    </message>
    <message>
        <source>Make the chosen encoding the setting</source>
        <translation>Избраната кодировка да стане настройка</translation>
    </message>
    <message>
        <source>The file %1 is not a program file: none of its lines is a record or a comment. The document stays as it was.</source>
        <translation>Файлът %1 не е програмен файл: нито един негов ред не е запис или коментар. Документът остава какъвто беше.</translation>
    </message>
    <message>
        <source>Document reloaded</source>
        <translation>Документът е презареден</translation>
    </message>
    <message>
        <source>The document was read in %1; the encoding setting is %2. In which encoding shall it be saved?</source>
        <translation>Документът е прочетен в %1, а настройката за кодировка е %2. В коя кодировка да бъде записан?</translation>
    </message>
    <message>
        <source>Save in %1</source>
        <translation>Запиши в %1</translation>
    </message>
    <message>
        <source>The file %1 was read in %2, which has no characters for some of its bytes. Saving over it replaces those bytes for good with replacement characters, in:</source>
        <translation>Файлът %1 е прочетен в %2, в която някои от байтовете му нямат знаци. Записът върху него ги заменя завинаги със заместващи знаци в:</translation>
    </message>
    <message>
        <source>(no cell of the document)</source>
        <translation>(нито една клетка на документа)</translation>
    </message>
    <message>
        <source>Save anyway</source>
        <translation>Запиши въпреки това</translation>
    </message>
    <message>
        <source>Another program has changed the file %1 since it was opened or saved here. Saving replaces its changes.</source>
        <translation>Друга програма е променила файла %1, откакто е отворен или записан тук. Записът ще замени нейните промени.</translation>
    </message>
    <message>
        <source>%1, row %2: no %3</source>
        <translation>%1, ред %2: няма %3</translation>
    </message>
    <message>
        <source>These rows are not in the file: a row is written only with all the cells its record needs. They stay in the window.</source>
        <translation>Тези редове не са във файла: ред се записва само с всички клетки, нужни за записа му. Те остават в прозореца.</translation>
    </message>
    <message>
        <source>The file %1 was removed or renamed by another program; Save writes it again.</source>
        <translation>Файлът %1 е изтрит или преименуван от друга програма; при запис ще бъде създаден отново.</translation>
    </message>
    <message>
        <source>The file %1 was changed by another program; Save asks before replacing its changes.</source>
        <translation>Файлът %1 е променен от друга програма; преди да замени промените ѝ, записът ще попита.</translation>
    </message>
    <message>
        <source>The file %1 was changed by another program. Reload it?</source>
        <translation>Файлът %1 е променен от друга програма. Да бъде ли зареден отново?</translation>
    </message>
    <message>
        <source>The editor ended without saving the changes to %1. They were kept at %2. Restore them?</source>
        <translation>Редакторът е спрял, без да запише промените в %1. Те са запазени в %2. Да бъдат ли възстановени?</translation>
    </message>
    <message>
        <source>an untitled document</source>
        <translation>неозаглавен документ</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Възстанови</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>По-късно</translation>
    </message>
    <message>
        <source>restoring of kept changes</source>
        <translation>възстановяване на запазени промени</translation>
    </message>
    <message>
        <source>Changes restored</source>
        <translation>Промените са възстановени</translation>
    </message>
    <message>
        <source>The document has changes that are not saved. Save them before closing the document?</source>
        <translation>Документът има незаписани промени. Да бъдат ли записани, преди документът да бъде затворен?</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Без име</translation>
    </message>
    <message>
        <source>%1 (setting: %2)</source>
        <translation>%1 (настройка: %2)</translation>
    </message>
    <message>
        <source>%1, in the encoding %2</source>
        <translation>%1, в кодировка %2</translation>
    </message>
    <message>
        <source>%1 was not opened; the document stays as it was, untitled: Save asks for a name</source>
        <translation>%1 не беше отворен; документът остава какъвто беше, без име: „Запиши“ ще попита за име</translation>
    </message>
    <message>
        <source>%1: window &quot;%2&quot;, file &quot;%3&quot;</source>
        <translation>%1: в прозореца „%2“, във файла „%3“</translation>
    </message>
    <message>
        <source>Another program has changed the file %1, and the window has changes that are not saved.</source>
        <translation>Друга програма промени файла %1, а прозорецът има незаписани промени.</translation>
    </message>
    <message>
        <source>The file cannot be read now.</source>
        <translation>Файлът не може да бъде прочетен сега.</translation>
    </message>
    <message>
        <source>Cells that differ:</source>
        <translation>Клетки, които се различават:</translation>
    </message>
    <message>
        <source>Keep the window&apos;s</source>
        <translation>Запази тези от прозореца</translation>
    </message>
    <message>
        <source>Take the file&apos;s</source>
        <translation>Вземи тези от файла</translation>
    </message>
    <message>
        <source>Its lines end in a CR alone; a program file&apos;s end in CR LF.</source>
        <translation>Редовете му завършват само с CR; редовете на програмен файл завършват с CR LF.</translation>
    </message>
    <message>
        <source>Its lines are in double quotes, as a spreadsheet may save them.</source>
        <translation>Редовете му са в двойни кавички, както може да ги запише електронна таблица.</translation>
    </message>
    <message>
        <source>It is UTF-16 text; a program file is in a code page of the list.</source>
        <translation>Това е текст в UTF-16; програмният файл е в кодова страница от списъка.</translation>
    </message>
    <message>
        <source>it holds a TAB, a line break or another control character, which a program file cannot carry</source>
        <translation>съдържа табулация, нов ред или друг управляващ знак, които програмният файл не може да съхрани</translation>
    </message>
    <message>
        <source>one row</source>
        <translation>един ред</translation>
    </message>
    <message numerus="yes">
        <source>%n rows</source>
        <translation>
            <numerusform>%n ред</numerusform>
            <numerusform>%n реда</numerusform>
        </translation>
    </message>
    <message>
        <source>one column</source>
        <translation>една колона</translation>
    </message>
    <message numerus="yes">
        <source>%n columns</source>
        <translation>
            <numerusform>%n колона</numerusform>
            <numerusform>%n колони</numerusform>
        </translation>
    </message>
    <message>
        <source>The block does not fit from %1: %2 of it fall past the end of the table.</source>
        <translation>Блокът не се побира от %1: %2 от него излизат извън края на таблицата.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 и %2</translation>
    </message>
    <message>
        <source>Paste only what fits, or nothing?</source>
        <translation>Да се постави ли само това, което се побира, или нищо?</translation>
    </message>
    <message>
        <source>Paste What Fits</source>
        <translation>Постави каквото се побира</translation>
    </message>
    <message>
        <source>Paste Nothing</source>
        <translation>Не поставяй нищо</translation>
    </message>
    <message>
        <source>Nothing pasted at %1.</source>
        <translation>Нищо не е поставено в %1.</translation>
    </message>
    <message>
        <source>One cell pasted at %1.</source>
        <translation>Поставена е една клетка в %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n cells pasted at %1.</source>
        <translation>
            <numerusform>Поставена е %n клетка в %1.</numerusform>
            <numerusform>Поставени са %n клетки в %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>One value was not pasted as it stands.</source>
        <translation>Една стойност не е поставена такава, каквато е.</translation>
    </message>
    <message numerus="yes">
        <source>%n values were not pasted as they stand.</source>
        <translation>
            <numerusform>%n стойност не е поставена такава, каквато е.</numerusform>
            <numerusform>%n стойности не са поставени такива, каквито са.</numerusform>
        </translation>
    </message>
    <message>
        <source>the cell is empty</source>
        <translation>клетката е празна</translation>
    </message>
    <message>
        <source>the cell keeps its value</source>
        <translation>клетката запазва стойността си</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot;: %3</source>
        <translation>%1: „%2“: %3</translation>
    </message>
    <message numerus="yes">
        <source>and %n more; the details list them all</source>
        <translation>
            <numerusform>и още %n; подробностите изброяват всички</numerusform>
            <numerusform>и още %n; подробностите изброяват всички</numerusform>
        </translation>
    </message>
    <message>
        <source>Value &quot;%1&quot; refused in %2: %3; the cell keeps its value</source>
        <translation>Стойността „%1“ в %2 е отхвърлена: %3; клетката запазва стойността си</translation>
    </message>
    <message>
        <source>Unsaved edits cannot be kept for recovery: %1</source>
        <translation>Незаписаните промени не могат да се пазят за възстановяване: %1</translation>
    </message>
    <message>
        <source>Kept changes not offered: %1</source>
        <translation>Запазените промени не се предлагат: %1</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Отмени %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Отмени</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>По&amp;втори %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>По&amp;втори</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>No recent files</source>
        <translation>Няма последни файлове</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>its lock file cannot be made</source>
        <translation>файлът за заключване не може да бъде създаден</translation>
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
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>System (%1)</source>
        <translation>Системна (%1)</translation>
    </message>
</context>
<context>
    <name>WTableWidget</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копиране</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Поставяне</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Из&amp;режи</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Изтрий</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Из&amp;бери всички</translation>
    </message>
</context>
</TS>
