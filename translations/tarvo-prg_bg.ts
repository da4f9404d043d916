<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="bg_BG">
<context>
    <name>TarvoPrg</name>
    <message>
        <source>cannot read standard input: %1</source>
        <translation>стандартният вход не може да бъде прочетен: %1</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 не може да бъде прочетен: %2</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>не е дадена команда</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>непозната команда „%1“</translation>
    </message>
    <message>
        <source>cannot write standard output: %1</source>
        <translation>стандартният изход не може да бъде записан: %1</translation>
    </message>
    <message>
        <source>cannot compare %1: %2</source>
        <translation>%1 не може да бъде сравнен: %2</translation>
    </message>
    <message>
        <source>Try &apos;tarvo-prg --help&apos;.</source>
        <translation>Вижте „tarvo-prg --help“.</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Това е папка</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Не е обикновен файл</translation>
    </message>
    <message>
        <source>The file is read-only</source>
        <translation>Файлът е само за четене</translation>
    </message>
    <message>
        <source>The file changed while it was being saved</source>
        <translation>Файлът се промени, докато се записваше</translation>
    </message>
    <message>
        <source>The file is too large to be rewritten in place</source>
        <translation>Файлът е твърде голям, за да бъде презаписан на място</translation>
    </message>
    <message>
        <source>; the previous contents could not be put back</source>
        <translation>; предишното съдържание не можа да бъде възстановено</translation>
    </message>
    <message>
        <source>nothing reads from this FIFO</source>
        <translation>никой не чете от този FIFO</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>стандартният вход</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>стандартният изход</translation>
    </message>
    <message>
        <source>it holds bytes that are no characters in %1; give its --encoding</source>
        <translation>съдържа байтове, които не са знаци в %1; задайте неговото --encoding</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 не може да бъде записан: %2</translation>
    </message>
    <message>
        <source>%1; no file changed</source>
        <translation>%1; нито един файл не е променен</translation>
    </message>
    <message>
        <source>cannot set cells in %1: %2</source>
        <translation>клетките в %1 не могат да бъдат зададени: %2</translation>
    </message>
    <message>
        <source>cannot keep the new contents of the files until they are written: %1; no file changed</source>
        <translation>новото съдържание на файловете не може да бъде съхранено до записа им: %1; нито един файл не е променен</translation>
    </message>
    <message>
        <source>%1; the file changed while set ran and is left as it is now</source>
        <translation>%1; файлът беше променен по време на set и остава такъв, какъвто е сега</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;; did you mean &quot;%2&quot;?</source>
        <translation>непозната команда „%1“; може би „%2“?</translation>
    </message>
    <message>
        <source>help takes one command name</source>
        <translation>help приема името на една команда</translation>
    </message>
    <message>
        <source>line skipped: %1 is no record letter (S, D, H, C or Y)</source>
        <translation>пропуснат ред: %1 не е буква на запис (S, D, H, C или Y)</translation>
    </message>
    <message>
        <source>line skipped: %1 record without a number</source>
        <translation>пропуснат ред: запис %1 без номер</translation>
    </message>
    <message>
        <source>line skipped: %1 record number %2 is not a number</source>
        <translation>пропуснат ред: номерът %2 на запис %1 не е число</translation>
    </message>
    <message>
        <source>line skipped: %1 record number %2 is not %3</source>
        <translation>пропуснат ред: номерът %2 на запис %1 не е %3</translation>
    </message>
    <message>
        <source>line skipped: %1 record number %2 is outside %3..%4</source>
        <translation>пропуснат ред: номерът %2 на запис %1 е извън %3..%4</translation>
    </message>
    <message>
        <source> and </source>
        <translation> и </translation>
    </message>
    <message>
        <source>--cell %1: a cell cannot hold a TAB or a line end</source>
        <translation>--cell %1: клетка не може да съдържа табулация или край на ред</translation>
    </message>
    <message>
        <source>--cell %1: text with an unpaired surrogate</source>
        <translation>--cell %1: текст с несдвоен сурогат</translation>
    </message>
    <message>
        <source>--cell %1: &quot;%2&quot; %3</source>
        <translation>--cell %1: „%2“ %3</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>непозната опция %1</translation>
    </message>
    <message>
        <source>option %1 takes no value</source>
        <translation>опцията %1 не приема стойност</translation>
    </message>
    <message>
        <source>option %1 needs %2</source>
        <translation>опцията %1 изисква %2</translation>
    </message>
    <message>
        <source>an encoding name</source>
        <translation>име на кодировка</translation>
    </message>
    <message>
        <source>unknown encoding &quot;%1&quot; for %2; known: %3</source>
        <translation>непозната кодировка „%1“ за %2; познати: %3</translation>
    </message>
    <message>
        <source>%1 takes no --from or --to; use --encoding</source>
        <translation>%1 не приема --from и --to; използвайте --encoding</translation>
    </message>
    <message>
        <source>%1 takes no --cell</source>
        <translation>%1 не приема --cell</translation>
    </message>
    <message>
        <source>set: no --cell KEY=VALUE given</source>
        <translation>set: не е дадено --cell KEY=VALUE</translation>
    </message>
    <message>
        <source>%1: missing %2</source>
        <translation>%1: липсва %2</translation>
    </message>
    <message>
        <source>%1: too many file names; it takes %2</source>
        <translation>%1: твърде много имена на файлове; приема %2</translation>
    </message>
    <message>
        <source>%1: empty file name</source>
        <translation>%1: празно име на файл</translation>
    </message>
    <message>
        <source>set: &quot;-&quot; is no file to write back; name the files</source>
        <translation>set: „-“ не е файл, в който да се запише; посочете файловете</translation>
    </message>
    <message>
        <source>check: standard input (&quot;-&quot;) given more than once</source>
        <translation>check: стандартният вход („-“) е даден повече от веднъж</translation>
    </message>
    <message>
        <source>diff: only one of A and B can be standard input (&quot;-&quot;)</source>
        <translation>diff: само едното от A и B може да е стандартният вход („-“)</translation>
    </message>
    <message>
        <source>--cell %1: no &quot;=&quot;; write KEY=VALUE</source>
        <translation>--cell %1: няма „=“; пишете KEY=VALUE</translation>
    </message>
    <message>
        <source>--cell %1 given twice</source>
        <translation>--cell %1 е дадено два пъти</translation>
    </message>
    <message>
        <source>cannot use &quot;%1&quot;: it is not valid text in the locale&apos;s character encoding, and a name changed on its way in would be another file</source>
        <translation>„%1“ не може да се използва: не е валиден текст в кодировката на локала, а променено по пътя име би било друг файл</translation>
    </message>
    <message>
        <source>SOURCE_DATE_EPOCH &quot;%1&quot; is not a number of seconds since 1970</source>
        <translation>SOURCE_DATE_EPOCH „%1“ не е брой секунди от 1970 г.</translation>
    </message>
    <message>
        <source>%1: %2 left out: the file carries it only with a %3</source>
        <translation>%1: %2 се пропуска: файлът го съдържа само ако има %3</translation>
    </message>
    <message>
        <source> and a </source>
        <translation> и </translation>
    </message>
    <message>
        <source>%1: %2: %3 cannot be written in %4; written as the replacement character</source>
        <translation>%1: %2: %3 не може да се запише в %4; записано е като заместващия знак</translation>
    </message>
    <message>
        <source>--cell %1: a cell cannot hold the control character U+%2</source>
        <translation>--cell %1: клетка не може да съдържа управляващия знак U+%2</translation>
    </message>
    <message>
        <source>%1 takes no --lossy</source>
        <translation>%1 не приема --lossy</translation>
    </message>
    <message>
        <source>%1: a cell cannot hold a TAB or a line end</source>
        <translation>%1: клетка не може да съдържа табулация или край на ред</translation>
    </message>
    <message>
        <source>%1: a cell cannot hold the control character U+%2</source>
        <translation>%1: клетка не може да съдържа управляващия знак U+%2</translation>
    </message>
    <message>
        <source>; nothing written</source>
        <translation>; нищо не е записано</translation>
    </message>
    <message>
        <source>; nothing written (give the file&apos;s --from, or --lossy to write them as replacement characters)</source>
        <translation>; нищо не е записано (посочете --from на файла или --lossy, за да се запишат като заместващи знаци)</translation>
    </message>
    <message>
        <source>cannot set cells in %1: line %2 holds a CR that ends no line, so its record cannot be rewritten and the rest of the line kept</source>
        <translation>клетките в %1 не могат да бъдат зададени: ред %2 съдържа CR, който не завършва ред, така че записът му не може да бъде презаписан, като се запази останалото от реда</translation>
    </message>
    <message>
        <source>%1: not a program file: none of its lines is a record or a comment</source>
        <translation>%1: не е програмен файл: нито един от редовете му не е запис или коментар</translation>
    </message>
    <message>
        <source> (its lines end in a CR alone; a program file&apos;s end in CR LF)</source>
        <translation> (редовете му завършват само с CR; тези на програмен файл завършват с CR LF)</translation>
    </message>
    <message>
        <source> (its lines are in double quotes, as a spreadsheet may save them)</source>
        <translation> (редовете му са в двойни кавички, както може да ги запише електронна таблица)</translation>
    </message>
    <message>
        <source> (it is UTF-16 text; a program file is in a code page of the list)</source>
        <translation> (той е текст в UTF-16; програмният файл е в кодова таблица от списъка)</translation>
    </message>
    <message>
        <source>UTF-8 (the file begins with its byte order mark)</source>
        <translation>UTF-8 (файлът започва с неговия знак за реда на байтовете)</translation>
    </message>
    <message>
        <source>%1: bytes that are no characters of %2</source>
        <translation>%1: байтове, които не са знаци от %2</translation>
    </message>
    <message>
        <source>; the file reads cleanly in no encoding of the list</source>
        <translation>; файлът не се чете чисто в нито една кодировка от списъка</translation>
    </message>
    <message>
        <source>; the file reads cleanly in %1 (the most likely first)</source>
        <translation>; файлът се чете чисто в %1 (най-вероятното първо)</translation>
    </message>
    <message>
        <source>a boolean</source>
        <translation>булева стойност</translation>
    </message>
    <message>
        <source>a number</source>
        <translation>число</translation>
    </message>
    <message>
        <source>a string</source>
        <translation>низ</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>масив</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>обект</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>нищо</translation>
    </message>
    <message>
        <source>%1: %2 where %3 belongs</source>
        <translation>%1: %2 там, където трябва %3</translation>
    </message>
    <message>
        <source>document: unknown key %1</source>
        <translation>документ: непознат ключ %1</translation>
    </message>
    <message>
        <source>%1: %2 entries where at most %3 %4 belong</source>
        <translation>%1: %2 елемента там, където трябват най-много %3 %4</translation>
    </message>
    <message>
        <source>strings</source>
        <translation>низа</translation>
    </message>
    <message>
        <source>objects</source>
        <translation>обекта</translation>
    </message>
    <message>
        <source>%1: unknown key %2</source>
        <translation>%1: непознат ключ %2</translation>
    </message>
    <message>
        <source>line %1, column %2</source>
        <translation>ред %1, колона %2</translation>
    </message>
    <message>
        <source>document</source>
        <translation>документ</translation>
    </message>
    <message>
        <source>the input ends before the document does</source>
        <translation>входът свършва преди документа</translation>
    </message>
    <message>
        <source>%1 where it cannot stand</source>
        <translation>%1 там, където не може да стои</translation>
    </message>
    <message>
        <source>bytes that are no UTF-8 in a string</source>
        <translation>байтове, които не са UTF-8, в низ</translation>
    </message>
    <message>
        <source>the control character U+%1 in a string, where it must be escaped</source>
        <translation>управляващият знак U+%1 в низ, където трябва да бъде екраниран</translation>
    </message>
    <message>
        <source>an escape \%1 that JSON does not have</source>
        <translation>екраниране \%1, каквото JSON няма</translation>
    </message>
    <message>
        <source>a string that is not well-formed</source>
        <translation>низ, който не е правилно образуван</translation>
    </message>
    <message>
        <source>%1: key %2 given twice</source>
        <translation>%1: ключът %2 е даден два пъти</translation>
    </message>
    <message>
        <source>input: a number too large at %1</source>
        <translation>вход: твърде голямо число при %1</translation>
    </message>
    <message>
        <source>input: a lone surrogate %1 in a string at %2</source>
        <translation>вход: самотен сурогат %1 в низ при %2</translation>
    </message>
    <message>
        <source>input: not JSON: %1 at %2</source>
        <translation>вход: не е JSON: %1 на %2</translation>
    </message>
    <message>
        <source>input: arrays and objects nested deeper than %1 levels</source>
        <translation>вход: масиви и обекти, вложени по-дълбоко от %1 нива</translation>
    </message>
    <message>
        <source>input: larger than %1 bytes</source>
        <translation>вход: по-голям от %1 байта</translation>
    </message>
    <message>
        <source>input: empty, where a JSON document belongs</source>
        <translation>вход: празен там, където трябва JSON документ</translation>
    </message>
    <message>
        <source>parameter</source>
        <translation>параметър</translation>
    </message>
    <message>
        <source>department</source>
        <translation>отдел</translation>
    </message>
    <message>
        <source>header line</source>
        <translation>заглавен ред</translation>
    </message>
    <message>
        <source>comment</source>
        <translation>коментар</translation>
    </message>
    <message>
        <source>payment</source>
        <translation>плащане</translation>
    </message>
    <message>
        <source>name</source>
        <translation>име</translation>
    </message>
    <message>
        <source>price</source>
        <translation>цена</translation>
    </message>
    <message>
        <source>tax</source>
        <translation>данък</translation>
    </message>
    <message>
        <source>digits</source>
        <translation>цифри</translation>
    </message>
    <message>
        <source>value</source>
        <translation>стойност</translation>
    </message>
    <message>
        <source>index</source>
        <translation>индекс</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <extracomment>a cell in messages: the row (&quot;department 3&quot;), then the column (&quot;price&quot;)</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>is not a decimal number</source>
        <translation>не е десетично число</translation>
    </message>
    <message>
        <source>is not a whole number</source>
        <translation>не е цяло число</translation>
    </message>
    <message>
        <source>cell key &quot;%1&quot; is not of the form %2</source>
        <translation>ключът на клетка „%1“ не е от вида %2</translation>
    </message>
    <message>
        <source>cell key &quot;%1&quot;: %2 numbers go from 1 to %3</source>
        <translation>ключ на клетка „%1“: номерата на %2 са от 1 до %3</translation>
    </message>
    <message>
        <source>unknown cell key &quot;%1&quot;; keys are %2</source>
        <translation>непознат ключ на клетка „%1“; ключовете са %2</translation>
    </message>
    <message>
        <source>%1: not a program file: it is empty (build writes a new one)</source>
        <translation>%1: не е програмен файл: празен е (build записва нов)</translation>
    </message>
</context>
</TS>
