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
        <source>cannot open %1: %2</source>
        <translation>%1 не може да бъде отворен: %2</translation>
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
        <source>cannot open %1: %2; no file changed</source>
        <translation>%1 не може да бъде отворен: %2; нито един файл не е променен</translation>
    </message>
    <message>
        <source>cannot set cells in %1: %2; no file changed</source>
        <translation>клетките в %1 не могат да бъдат зададени: %2; нито един файл не е променен</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;; did you mean &quot;%2&quot;?</source>
        <translation>непозната команда „%1“; може би „%2“?</translation>
    </message>
    <message>
        <source>help takes one command name</source>
        <translation>help приема името на една команда</translation>
    </message>
</context>
</TS>
