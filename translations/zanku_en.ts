<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Core</name>
    <message numerus="yes">
        <source>Played %n times, %1 in all, last on %2</source>
        <translation>
            <numerusform>Played %n time, %1 in all, last on %2</numerusform>
            <numerusform>Played %n times, %1 in all, last on %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportFrm</name>
    <message numerus="yes">
        <source>%n games not listed yet</source>
        <translation>
            <numerusform>%n game not listed yet</numerusform>
            <numerusform>%n games not listed yet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1; %n greyed cannot be listed.</source>
        <translation>
            <numerusform>%1; %n greyed cannot be listed.</numerusform>
            <numerusform>%1; %n greyed cannot be listed.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OptionsFrm</name>
    <message numerus="yes">
        <source>%n games of this list name a .7z or .rar archive as their File: the emulator gets the archive as it is.
Name the game inside each archive instead? Zanku then extracts it at each launch and keeps its saves. Save to keep the change.</source>
        <translation>
            <numerusform>%n game of this list names a .7z or .rar archive as its File: the emulator gets the archive as it is.
Name the game inside the archive instead? Zanku then extracts it at each launch and keeps its saves. Save to keep the change.</numerusform>
            <numerusform>%n games of this list name a .7z or .rar archive as their File: the emulator gets the archive as it is.
Name the game inside each archive instead? Zanku then extracts it at each launch and keeps its saves. Save to keep the change.</numerusform>
        </translation>
    </message>
</context>
</TS>
