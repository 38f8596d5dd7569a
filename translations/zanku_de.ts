<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutFrm</name>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>Zanku is a Front-End for multiple emulators.</source>
        <translation>Zanku ist ein Frontend für mehrere Emulatoren.</translation>
    </message>
    <message>
        <source>Created by:</source>
        <translation>Erstellt von:</translation>
    </message>
    <message>
        <source>If you have bug report or suggestion please E-mail Me</source>
        <translation>Für Fehlermeldungen oder Vorschläge schreib mir bitte eine E-Mail</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
<context>
    <name>ColumnsMenu</name>
    <message>
        <source>C&amp;olumns</source>
        <translation>&amp;Spalten</translation>
    </message>
    <message>
        <source>&amp;Year</source>
        <translation>&amp;Jahr</translation>
    </message>
    <message>
        <source>&amp;Genre</source>
        <translation>&amp;Genre</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>
Launches with %1</source>
        <translation>
Startet mit %1</translation>
    </message>
    <message>
        <source>Game Name</source>
        <translation>Spielname</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Emulator</source>
        <translation>Emulator</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>File %1 Not Found! You&apos;ll not be able to play the game of this Emulator!</source>
        <translation>Datei %1 nicht gefunden! Die Spiele dieses Emulators lassen sich nicht spielen!</translation>
    </message>
    <message>
        <source>Emulator %1 Not configured properly!! Path Not Found!</source>
        <translation>Emulator %1 ist nicht richtig eingerichtet!! Pfad nicht gefunden!</translation>
    </message>
    <message>
        <source>
It has no Games Directory: set one in Options &gt; Emulator Config.</source>
        <translation>
Er hat kein Spieleverzeichnis: Lege eines unter Optionen &gt; Emulatoren einrichten fest.</translation>
    </message>
    <message>
        <source>
Its Games Directory &quot;%1&quot; is not a folder.</source>
        <translation>
Sein Spieleverzeichnis „%1“ ist kein Ordner.</translation>
    </message>
    <message>
        <source>
Its Games Directory &quot;%1&quot; does not exist.</source>
        <translation>
Sein Spieleverzeichnis „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>Games  ( %1 Roms )</source>
        <translation>Spiele  ( %1 ROMs )</translation>
    </message>
    <message>
        <source>Games  ( %1 of %2 Roms )</source>
        <translation>Spiele  ( %1 von %2 ROMs )</translation>
    </message>
    <message>
        <source>The %1 may not contain &quot;%2&quot;: it also names the emulator&apos;s ROM list file.</source>
        <translation>%1 darf „%2“ nicht enthalten: Er benennt auch die ROM-Listendatei des Emulators.</translation>
    </message>
    <message>
        <source>The %1 may not contain control characters: it also names the emulator&apos;s ROM list file.</source>
        <translation>%1 darf keine Steuerzeichen enthalten: Er benennt auch die ROM-Listendatei des Emulators.</translation>
    </message>
    <message>
        <source>The %1 may not be made only of dots and blanks: it also names the emulator&apos;s ROM list file.</source>
        <translation>%1 darf nicht nur aus Punkten und Leerzeichen bestehen: Er benennt auch die ROM-Listendatei des Emulators.</translation>
    </message>
    <message>
        <source>The %1 may not be &quot;%2&quot;: that name belongs to a device and cannot name the emulator&apos;s ROM list file.</source>
        <translation>%1 darf nicht „%2“ sein: Dieser Name gehört einem Gerät und kann die ROM-Listendatei des Emulators nicht benennen.</translation>
    </message>
    <message>
        <source>The %1 may not contain a line break: each value is one line of its file.</source>
        <translation>%1 darf keinen Zeilenumbruch enthalten: Jeder Wert ist eine Zeile seiner Datei.</translation>
    </message>
    <message>
        <source>The %1 may not contain &quot;=&quot;: the ROM list line would be read back split differently.</source>
        <translation>%1 darf „=“ nicht enthalten: Die Zeile der ROM-Liste würde beim Lesen anders aufgeteilt.</translation>
    </message>
    <message>
        <source>The %1 may not begin with &quot;;&quot;: Zanku.ini would then read as a past version and the program would not start.</source>
        <translation>%1 darf nicht mit „;“ beginnen: Zanku.ini würde dann als frühere Version gelesen, und das Programm würde nicht starten.</translation>
    </message>
    <message>
        <source>Choose an emulator from the list first: no ROM list is open, so nothing was saved.</source>
        <translation>Wähle zuerst einen Emulator aus der Liste: Es ist keine ROM-Liste geöffnet, daher wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an emulator of the configuration. Choose one from the list; nothing was saved.</source>
        <translation>„%1“ ist kein Emulator der Konfiguration. Wähle einen aus der Liste; es wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>The list shown belongs to &quot;%1&quot;, not to &quot;%2&quot;. Choose &quot;%2&quot; from the list to edit its games; nothing was saved.</source>
        <translation>Die angezeigte Liste gehört zu „%1“, nicht zu „%2“. Wähle „%2“ aus der Liste, um seine Spiele zu bearbeiten; es wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the editor does not show what it holds. Saving would replace it; nothing was saved.</source>
        <translation>%1 konnte nicht gelesen werden, daher zeigt der Editor seinen Inhalt nicht. Speichern würde die Datei ersetzen; es wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>At Least Game and File MUST be added</source>
        <translation>Mindestens Spiel und Datei MÜSSEN angegeben werden</translation>
    </message>
    <message>
        <source>%1 is renamed %2, but a ROM list %3 is there already.

Save anyway? %2 then lists the games of %3, and %4 stays as it is.</source>
        <translation>%1 wird in %2 umbenannt, aber eine ROM-Liste %3 ist schon vorhanden.

Trotzdem speichern? %2 listet dann die Spiele aus %3, und %4 bleibt, wie es ist.</translation>
    </message>
    <message>
        <source>%1 is renamed %2, but saves kept for an emulator named %2 are there already.

Yes merges them: the games of %1 keep their own saves, and any of the others in their way is kept beside them as &quot;(old)&quot;. No keeps both: the saves there are renamed %3 first. Cancel saves nothing.</source>
        <translation>%1 wird in %2 umbenannt, aber Spielstände eines Emulators namens %2 sind schon vorhanden.

Ja führt sie zusammen: Die Spiele von %1 behalten ihre eigenen Spielstände, und jeder andere, der im Weg ist, bleibt daneben als „(old)“ erhalten. Nein behält beide: Die vorhandenen Spielstände werden zuerst in %3 umbenannt. Abbrechen speichert nichts.</translation>
    </message>
    <message>
        <source>not a regular file (it is a folder, a device or a pipe)</source>
        <translation>keine normale Datei (es ist ein Ordner, ein Gerät oder eine Pipe)</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>sie ist größer als %1 Bytes</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>die Platte ist voll</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>the file could not be created</source>
        <translation>die Datei konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>the new file could not take the old one&apos;s place</source>
        <translation>die neue Datei konnte nicht an die Stelle der alten treten</translation>
    </message>
    <message>
        <source>the data could not be written</source>
        <translation>die Daten konnten nicht geschrieben werden</translation>
    </message>
    <message>
        <source>it is over 64 MiB, too large to be a list of emulators or games</source>
        <translation>sie ist über 64 MiB groß, zu groß für eine Liste von Emulatoren oder Spielen</translation>
    </message>
    <message>
        <source>only %1 of its %2 bytes could be written</source>
        <translation>nur %1 ihrer %2 Bytes konnten geschrieben werden</translation>
    </message>
    <message>
        <source>a link of that name is there, and no file is written through one</source>
        <translation>eine Verknüpfung dieses Namens ist vorhanden, und durch eine Verknüpfung wird keine Datei geschrieben</translation>
    </message>
    <message>
        <source>a file of that name is already there</source>
        <translation>eine Datei dieses Namens ist schon vorhanden</translation>
    </message>
    <message>
        <source>Could not save %1: %2
The file on disk is unchanged.</source>
        <translation>%1 konnte nicht gespeichert werden: %2
Die Datei auf der Platte ist unverändert.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Kann %1 nicht lesen: %2</translation>
    </message>
    <message>
        <source>
What is played now will not be recorded.</source>
        <translation>
Was jetzt gespielt wird, wird nicht aufgezeichnet.</translation>
    </message>
    <message>
        <source>
Collections and launch choices will not be saved.</source>
        <translation>
Sammlungen und Startvorgaben werden nicht gespeichert.</translation>
    </message>
    <message>
        <source>Never played</source>
        <translation>Nie gespielt</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 Std. %2 Min.</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <source>d MMM yyyy</source>
        <translation>d. MMM yyyy</translation>
    </message>
    <message numerus="yes">
        <source>Played %n times, %1 in all, last on %2</source>
        <translation>
            <numerusform>%n-mal gespielt, insgesamt %1, zuletzt am %2</numerusform>
            <numerusform>%n-mal gespielt, insgesamt %1, zuletzt am %2</numerusform>
        </translation>
    </message>
    <message>
        <source>its lock file %1 is not an ordinary file</source>
        <translation>ihre Sperrdatei %1 ist keine normale Datei</translation>
    </message>
    <message>
        <source>another Zanku is saving it</source>
        <translation>ein anderes Zanku speichert sie gerade</translation>
    </message>
    <message>
        <source>its lock file cannot be made: %1</source>
        <translation>ihre Sperrdatei kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>no program directory was read</source>
        <translation>es wurde kein Programmverzeichnis gelesen</translation>
    </message>
    <message>
        <source>
Nothing was added.</source>
        <translation>
Es wurde nichts hinzugefügt.</translation>
    </message>
    <message>
        <source>%1 (%2): %3
Nothing was added.</source>
        <translation>%1 (%2): %3
Es wurde nichts hinzugefügt.</translation>
    </message>
    <message>
        <source>%1 was not added: %2
</source>
        <translation>%1 wurde nicht hinzugefügt: %2
</translation>
    </message>
    <message>
        <source>it is a link, which is not extracted</source>
        <translation>es ist eine Verknüpfung, die nicht entpackt wird</translation>
    </message>
    <message>
        <source>a name over %1 bytes, longer than a file system holds</source>
        <translation>ein Name über %1 Bytes, länger, als ein Dateisystem fasst</translation>
    </message>
    <message>
        <source>Not a readable %1 archive: %2.</source>
        <translation>Kein lesbares %1-Archiv: %2.</translation>
    </message>
    <message>
        <source>The archive holds no file.</source>
        <translation>Das Archiv enthält keine Datei.</translation>
    </message>
    <message>
        <source>Its game file &quot;%1&quot; would not be extracted: %2.</source>
        <translation>Seine Spieldatei „%1“ würde nicht entpackt: %2.</translation>
    </message>
    <message>
        <source>Its game file &quot;%1&quot; has no extension: the catalogue would look for another archive.</source>
        <translation>Seine Spieldatei „%1“ hat keine Endung: Der Katalog würde nach einem anderen Archiv suchen.</translation>
    </message>
    <message>
        <source>inside: </source>
        <translation>darin: </translation>
    </message>
    <message>
        <source>written on adding: </source>
        <translation>beim Hinzufügen geschrieben: </translation>
    </message>
    <message>
        <source>discs: </source>
        <translation>Discs: </translation>
    </message>
    <message>
        <source>%1 is already there and lists other discs: rename it, or list these discs in it.</source>
        <translation>%1 ist schon vorhanden und listet andere Discs: Benenne die Datei um oder trage diese Discs darin ein.</translation>
    </message>
    <message>
        <source>%1 is already there and cannot be read as a list of discs: %2.</source>
        <translation>%1 ist schon vorhanden und kann nicht als Liste von Discs gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.</source>
        <translation>%1 konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>Its name cannot be written in a ROM list in this system&apos;s code page.</source>
        <translation>Sein Name lässt sich in der Codepage dieses Systems nicht in eine ROM-Liste schreiben.</translation>
    </message>
    <message>
        <source>Its name holds &quot;=&quot;, which a ROM list line cannot hold.</source>
        <translation>Sein Name enthält „=“, das eine Zeile der ROM-Liste nicht enthalten kann.</translation>
    </message>
    <message>
        <source>Its name holds a line break, which a ROM list line cannot hold.</source>
        <translation>Sein Name enthält einen Zeilenumbruch, den eine Zeile der ROM-Liste nicht enthalten kann.</translation>
    </message>
    <message>
        <source>The catalogue looks for archives ending in &quot;%1&quot;.</source>
        <translation>Der Katalog sucht nach Archiven mit der Endung „%1“.</translation>
    </message>
    <message>
        <source>Emulator %1 has no Games Directory to look in: set one in Options &gt; Emulator Config.</source>
        <translation>Emulator %1 hat kein Spieleverzeichnis zum Durchsuchen: Lege eines unter Optionen &gt; Emulatoren einrichten fest.</translation>
    </message>
    <message>
        <source>The Games Directory of emulator %1 cannot be read: &quot;%2&quot;.</source>
        <translation>Das Spieleverzeichnis von Emulator %1 kann nicht gelesen werden: „%2“.</translation>
    </message>
    <message>
        <source>The Zipped Roms Path of emulator %1 cannot be read: &quot;%2&quot;.</source>
        <translation>Der ZIP-ROM-Pfad von Emulator %1 kann nicht gelesen werden: „%2“.</translation>
    </message>
    <message>
        <source>is not executable</source>
        <translation>ist nicht ausführbar</translation>
    </message>
    <message>
        <source>was not found</source>
        <translation>wurde nicht gefunden</translation>
    </message>
    <message>
        <source>%1 is in the way of its lock file</source>
        <translation>%1 steht seiner Sperrdatei im Weg</translation>
    </message>
    <message>
        <source>it cannot be locked: %1</source>
        <translation>sie kann nicht gesperrt werden: %1</translation>
    </message>
    <message>
        <source>another Zanku keeps it locked</source>
        <translation>ein anderes Zanku hält sie gesperrt</translation>
    </message>
    <message>
        <source>Could not write %1: %2
The folder %3 will not be removed after a crash.</source>
        <translation>%1 konnte nicht geschrieben werden: %2
Der Ordner %3 wird nach einem Absturz nicht entfernt.</translation>
    </message>
    <message>
        <source>The files the emulator wrote in %1 could not be kept in %2, so the folder stays until they can: its marker cannot be written.</source>
        <translation>Die Dateien, die der Emulator in %1 geschrieben hat, konnten nicht in %2 aufbewahrt werden; der Ordner bleibt daher, bis es möglich ist: Seine Markierung kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The files the emulator wrote in %1 could not be kept in %2, so the folder stays until they can:
%3</source>
        <translation>Die Dateien, die der Emulator in %1 geschrieben hat, konnten nicht in %2 aufbewahrt werden; der Ordner bleibt daher, bis es möglich ist:
%3</translation>
    </message>
    <message>
        <source>%1 could not be removed entirely; it is tried again at the next clean-up.</source>
        <translation>%1 konnte nicht vollständig entfernt werden; beim nächsten Aufräumen wird es erneut versucht.</translation>
    </message>
    <message>
        <source>%1 is being extracted by another Zanku. Try again in a moment.</source>
        <translation>%1 wird gerade von einem anderen Zanku entpackt. Versuche es gleich noch einmal.</translation>
    </message>
    <message>
        <source>%1 is being removed by another Zanku. Try again in a moment.</source>
        <translation>%1 wird gerade von einem anderen Zanku entfernt. Versuche es gleich noch einmal.</translation>
    </message>
    <message>
        <source>The game file %1 leads out of the emulator&apos;s directory %2, so its archive is not extracted and the game is not started.</source>
        <translation>Die Spieldatei %1 führt aus dem Emulatorverzeichnis %2 hinaus; daher wird ihr Archiv nicht entpackt und das Spiel nicht gestartet.</translation>
    </message>
    <message>
        <source>%1 is in the way of the game&apos;s archive: it is not a folder Zanku made, so nothing is extracted into it. Move it away, or give the game a Destination Directory.</source>
        <translation>%1 steht dem Archiv des Spiels im Weg: Es ist kein Ordner, den Zanku angelegt hat, daher wird nichts hineinentpackt. Verschiebe ihn oder gib dem Spiel ein Zielverzeichnis.</translation>
    </message>
    <message>
        <source>%1 is in the way of the game&apos;s archive.</source>
        <translation>%1 steht dem Archiv des Spiels im Weg.</translation>
    </message>
    <message>
        <source>Cannot make the folder %1 to extract the game into.</source>
        <translation>Der Ordner %1 zum Entpacken des Spiels kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot extract into %1: %2</source>
        <translation>Kann nicht nach %1 entpacken: %2</translation>
    </message>
    <message>
        <source>no program is configured</source>
        <translation>es ist kein Programm eingerichtet</translation>
    </message>
    <message>
        <source>the program %1</source>
        <translation>das Programm %1</translation>
    </message>
    <message>
        <source>Waiting for selection...</source>
        <translation>Warte auf Auswahl...</translation>
    </message>
    <message>
        <source>Decompressing Games... %1.... Please Wait</source>
        <translation>Spiele werden entpackt... %1.... Bitte warten</translation>
    </message>
    <message>
        <source>Starting Game %1.... Have Fun</source>
        <translation>Spiel %1 wird gestartet.... Viel Spaß</translation>
    </message>
    <message>
        <source>%1 cannot be made: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be renamed to %2.</source>
        <translation>%1 konnte nicht in %2 umbenannt werden.</translation>
    </message>
    <message>
        <source>%1 could not be moved to %2.</source>
        <translation>%1 konnte nicht nach %2 verschoben werden.</translation>
    </message>
    <message>
        <source>a document type declaration is not read</source>
        <translation>eine Dokumenttyp-Deklaration wird nicht gelesen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; stands outside any game or collection</source>
        <translation>„%1“ steht außerhalb jedes Spiels und jeder Sammlung</translation>
    </message>
    <message>
        <source>an indented line continues no key</source>
        <translation>eine eingerückte Zeile setzt keinen Schlüssel fort</translation>
    </message>
    <message>
        <source>a line without &quot;key:&quot;</source>
        <translation>eine Zeile ohne „Schlüssel:“</translation>
    </message>
    <message>
        <source>Emulator Name</source>
        <translation>Emulatorname</translation>
    </message>
    <message>
        <source>Emul Program</source>
        <translation>Emul.-Programm</translation>
    </message>
    <message>
        <source>Emulator Program</source>
        <translation>Emulatorprogramm</translation>
    </message>
    <message>
        <source>Emul Path</source>
        <translation>Emul.-Pfad</translation>
    </message>
    <message>
        <source>Games Directory</source>
        <translation>Spieleverzeichnis</translation>
    </message>
    <message>
        <source>Zipped Roms Path</source>
        <translation>ZIP-ROM-Pfad</translation>
    </message>
    <message>
        <source>Zipped Rom Path</source>
        <translation>ZIP-ROM-Pfad</translation>
    </message>
    <message>
        <source>Emul Snapshot</source>
        <translation>Emul.-Schnappschuss</translation>
    </message>
    <message>
        <source>Snapshot Path</source>
        <translation>Bildpfad</translation>
    </message>
    <message>
        <source>Emul Options</source>
        <translation>Emul.-Optionen</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>File or Dir Name</source>
        <translation>Datei- oder Verz.-Name</translation>
    </message>
    <message>
        <source>Game File or Directory</source>
        <translation>Spieldatei oder -verzeichnis</translation>
    </message>
    <message>
        <source>Destination Dir</source>
        <translation>Zielverz.</translation>
    </message>
    <message>
        <source>Destination Directory</source>
        <translation>Zielverzeichnis</translation>
    </message>
    <message>
        <source>Game Options</source>
        <translation>Spieloptionen</translation>
    </message>
    <message>
        <source>Game Type</source>
        <translation>Spieltyp</translation>
    </message>
    <message>
        <source>it is not a picture that can be read</source>
        <translation>es ist kein lesbares Bild</translation>
    </message>
    <message>
        <source>the folder cannot be made</source>
        <translation>der Ordner kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>%1 is not a list of shortcuts Zanku can read; it was left as it is.</source>
        <translation>%1 ist keine Verknüpfungsliste, die Zanku lesen kann; sie wurde unverändert gelassen.</translation>
    </message>
    <message>
        <source>No Steam user was found: Steam keeps them in %1.</source>
        <translation>Es wurde kein Steam-Benutzer gefunden: Steam verwahrt sie in %1.</translation>
    </message>
    <message>
        <source>Steam is running: close Steam first, then add the games again. Steam would otherwise write its own list over them.</source>
        <translation>Steam läuft: Schließe zuerst Steam und füge die Spiele dann erneut hinzu. Sonst würde Steam seine eigene Liste darüberschreiben.</translation>
    </message>
    <message>
        <source>its folder cannot be made</source>
        <translation>sein Ordner kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot find or open %1: %2</source>
        <translation>%1 kann nicht gefunden oder geöffnet werden: %2</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 ist keine normale Datei</translation>
    </message>
    <message>
        <source>%1 is empty, not a zip archive</source>
        <translation>%1 ist leer, kein ZIP-Archiv</translation>
    </message>
    <message>
        <source>%1: the archive ends too early</source>
        <translation>%1: das Archiv endet zu früh</translation>
    </message>
    <message>
        <source>%1 is not a zip archive</source>
        <translation>%1 ist kein ZIP-Archiv</translation>
    </message>
    <message>
        <source>%1 is part of a multi-part archive</source>
        <translation>%1 ist Teil eines mehrteiligen Archivs</translation>
    </message>
    <message>
        <source>%1: damaged archive (%2)</source>
        <translation>%1: beschädigtes Archiv (%2)</translation>
    </message>
    <message>
        <source>cannot create folder %1: %2</source>
        <translation>Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 is a link or a file on disk, not a folder</source>
        <translation>%1 ist eine Verknüpfung oder eine Datei auf der Platte, kein Ordner</translation>
    </message>
    <message>
        <source>cannot open folder %1: %2</source>
        <translation>Ordner %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>the member&apos;s data disagrees with its declared size</source>
        <translation>die Daten des Eintrags passen nicht zu seiner angegebenen Größe</translation>
    </message>
    <message>
        <source>the member&apos;s data makes no progress</source>
        <translation>die Daten des Eintrags kommen nicht voran</translation>
    </message>
    <message>
        <source>the member&apos;s data is shorter than declared</source>
        <translation>die Daten des Eintrags sind kürzer als angegeben</translation>
    </message>
    <message>
        <source>%1 is empty, not an archive</source>
        <translation>%1 ist leer, kein Archiv</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>kein Speicher mehr frei</translation>
    </message>
    <message>
        <source>the archive ends too early</source>
        <translation>das Archiv endet zu früh</translation>
    </message>
    <message>
        <source>unreadable archive</source>
        <translation>unlesbares Archiv</translation>
    </message>
    <message>
        <source>the data is larger than its declared size</source>
        <translation>die Daten sind größer als ihre angegebene Größe</translation>
    </message>
    <message>
        <source>the data is shorter than its declared size</source>
        <translation>die Daten sind kürzer als ihre angegebene Größe</translation>
    </message>
    <message>
        <source>bad CRC</source>
        <translation>falsche CRC</translation>
    </message>
    <message>
        <source>the compressed data ends too early</source>
        <translation>die komprimierten Daten enden zu früh</translation>
    </message>
    <message>
        <source>corrupt compressed data</source>
        <translation>beschädigte komprimierte Daten</translation>
    </message>
    <message>
        <source>disk full</source>
        <translation>Platte voll</translation>
    </message>
    <message>
        <source>write error: %1</source>
        <translation>Schreibfehler: %1</translation>
    </message>
    <message>
        <source>the file system cannot hold the name: %1</source>
        <translation>das Dateisystem kann den Namen nicht aufnehmen: %1</translation>
    </message>
    <message>
        <source>cannot put the file in place: %1</source>
        <translation>die Datei kann nicht an ihren Platz gebracht werden: %1</translation>
    </message>
    <message>
        <source>a drive letter</source>
        <translation>ein Laufwerksbuchstabe</translation>
    </message>
    <message>
        <source>a control character</source>
        <translation>ein Steuerzeichen</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, which Windows does not allow in a name</source>
        <translation>„%1“, das Windows in einem Namen nicht erlaubt</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, which Windows would shorten</source>
        <translation>„%1“, das Windows kürzen würde</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, a device name on Windows</source>
        <translation>„%1“, ein Gerätename unter Windows</translation>
    </message>
    <message>
        <source>an empty name</source>
        <translation>ein leerer Name</translation>
    </message>
    <message>
        <source>an absolute path</source>
        <translation>ein absoluter Pfad</translation>
    </message>
    <message>
        <source>a &quot;..&quot; component, which leads out of the folder</source>
        <translation>ein „..“-Bestandteil, der aus dem Ordner hinausführt</translation>
    </message>
    <message>
        <source>the name of Zanku&apos;s own record of the folder</source>
        <translation>der Name von Zankus eigener Aufzeichnung des Ordners</translation>
    </message>
    <message>
        <source>no file name</source>
        <translation>kein Dateiname</translation>
    </message>
    <message>
        <source>the zip64 end record is missing</source>
        <translation>der ZIP64-Endeintrag fehlt</translation>
    </message>
    <message>
        <source>the zip64 end record is damaged</source>
        <translation>der ZIP64-Endeintrag ist beschädigt</translation>
    </message>
    <message>
        <source>the central directory lies beyond the end of the file</source>
        <translation>das zentrale Verzeichnis liegt hinter dem Dateiende</translation>
    </message>
    <message>
        <source>the archive holds two central directories</source>
        <translation>das Archiv enthält zwei zentrale Verzeichnisse</translation>
    </message>
    <message>
        <source>no central directory</source>
        <translation>kein zentrales Verzeichnis</translation>
    </message>
    <message>
        <source>damaged central directory</source>
        <translation>beschädigtes zentrales Verzeichnis</translation>
    </message>
    <message>
        <source>the archive&apos;s directory and its entries disagree</source>
        <translation>das Verzeichnis des Archivs und seine Einträge stimmen nicht überein</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>reading…</source>
        <translation>wird gelesen…</translation>
    </message>
</context>
<context>
    <name>CouchMenu</name>
    <message>
        <source>Show the List</source>
        <translation>Liste zeigen</translation>
    </message>
    <message>
        <source>Show the Covers</source>
        <translation>Cover zeigen</translation>
    </message>
    <message>
        <source>Find a Game...</source>
        <translation>Spiel suchen...</translation>
    </message>
    <message>
        <source>Leave Full Screen</source>
        <translation>Vollbild verlassen</translation>
    </message>
    <message>
        <source>Quit Zanku...</source>
        <translation>Zanku beenden...</translation>
    </message>
</context>
<context>
    <name>CouchView</name>
    <message>
        <source>A: Launch      Start: Menu      Select: Covers or List      B: Back      Menu &gt; Find a Game</source>
        <translation>A: Starten      Start: Menü      Select: Cover oder Liste      B: Zurück      Menü &gt; Spiel suchen</translation>
    </message>
    <message>
        <source>Quit Zanku</source>
        <translation>Zanku beenden</translation>
    </message>
    <message>
        <source>Quit Zanku?</source>
        <translation>Zanku beenden?</translation>
    </message>
</context>
<context>
    <name>DirFrm</name>
    <message>
        <source>Choose Emulator Directory</source>
        <translation>Emulatorverzeichnis wählen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
</context>
<context>
    <name>EmptyListHint</name>
    <message>
        <source>%1 cannot be read: %2.

Put it right or move it away, then start Zanku again.</source>
        <translation>%1 kann nicht gelesen werden: %2.

Korrigiere die Datei oder verschiebe sie, dann starte Zanku erneut.</translation>
    </message>
    <message>
        <source>No games listed yet: list them with %1 or %2</source>
        <translation>Noch keine Spiele aufgenommen: Nimm sie auf mit %1 oder %2</translation>
    </message>
    <message>
        <source>No emulator yet: add one with %1

Then list its games with %2 or %3</source>
        <translation>Noch kein Emulator: Füge einen hinzu mit %1

Dann nimm seine Spiele auf mit %2 oder %3</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>GameDetailsPanel</name>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Developer</source>
        <translation>Entwickler</translation>
    </message>
    <message>
        <source>Publisher</source>
        <translation>Verlag</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Bewertung</translation>
    </message>
    <message>
        <source>No picture: the emulator has no Snapshot Path to look in.</source>
        <translation>Kein Bild: Der Emulator hat keinen Bildpfad zum Durchsuchen.</translation>
    </message>
    <message>
        <source>No picture. Zanku looks for %1 (.jpg, .gif, .bmp, .png or .webp), and in Named_Boxarts, Named_Titles, Named_Snaps, covers, titlescreens and screenshots inside %2.</source>
        <translation>Kein Bild. Zanku sucht nach %1 (.jpg, .gif, .bmp, .png oder .webp) und in Named_Boxarts, Named_Titles, Named_Snaps, covers, titlescreens und screenshots in %2.</translation>
    </message>
</context>
<context>
    <name>GameListView</name>
    <message>
        <source>Show Favourites &amp;Only</source>
        <translation>Nur Favoriten &amp;zeigen</translation>
    </message>
</context>
<context>
    <name>GameMenu</name>
    <message>
        <source>Launch &amp;With</source>
        <translation>Starten &amp;mit</translation>
    </message>
    <message>
        <source>&amp;Always Launch With</source>
        <translation>&amp;Immer starten mit</translation>
    </message>
    <message>
        <source>%1 (its own)</source>
        <translation>%1 (sein eigener)</translation>
    </message>
    <message>
        <source>Add to &amp;Collection</source>
        <translation>Zu Sammlung &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;New Collection...</source>
        <translation>&amp;Neue Sammlung...</translation>
    </message>
    <message>
        <source>New Collection</source>
        <translation>Neue Sammlung</translation>
    </message>
    <message>
        <source>Name of the new collection:</source>
        <translation>Name der neuen Sammlung:</translation>
    </message>
    <message>
        <source>&amp;Remove from Collection</source>
        <translation>Aus Sammlung &amp;entfernen</translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>&amp;Favourite</source>
        <translation>&amp;Favorit</translation>
    </message>
    <message>
        <source>Add to &amp;Steam</source>
        <translation>Zu S&amp;team hinzufügen</translation>
    </message>
</context>
<context>
    <name>HeadlessLaunch</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>no emulator is named &quot;%1&quot; in %2</source>
        <translation>kein Emulator heißt „%1“ in %2</translation>
    </message>
    <message>
        <source>the emulator &quot;%1&quot; lists no game named &quot;%2&quot;</source>
        <translation>der Emulator „%1“ listet kein Spiel namens „%2“</translation>
    </message>
    <message>
        <source>%1 ended with an error in %2: %3</source>
        <translation>%1 endete in %2 mit einem Fehler: %3</translation>
    </message>
    <message>
        <source>%1 did not start in %2: %3</source>
        <translation>%1 ist in %2 nicht gestartet: %3</translation>
    </message>
</context>
<context>
    <name>ImportFrm</name>
    <message>
        <source>Reading the archives of %1...</source>
        <translation>Die Archive von %1 werden gelesen...</translation>
    </message>
    <message>
        <source>Import Games</source>
        <translation>Spiele importieren</translation>
    </message>
    <message>
        <source>Choose an Emulator</source>
        <translation>Wähle einen Emulator</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Add Checked</source>
        <translation>Markierte hinzufügen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Emulator:</source>
        <translation>Emulator:</translation>
    </message>
    <message>
        <source>Filter:</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>Type of the checked games:</source>
        <translation>Typ der markierten Spiele:</translation>
    </message>
    <message>
        <source>%1 is no longer configured.</source>
        <translation>%1 ist nicht mehr eingerichtet.</translation>
    </message>
    <message>
        <source>Scanning the folders of %1...</source>
        <translation>Die Ordner von %1 werden durchsucht...</translation>
    </message>
    <message>
        <source>Scan cancelled: nothing to add.</source>
        <translation>Suche abgebrochen: nichts hinzuzufügen.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message numerus="yes">
        <source>%n games not listed yet</source>
        <translation>
            <numerusform>%n Spiel noch nicht aufgenommen</numerusform>
            <numerusform>%n Spiele noch nicht aufgenommen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1; %n greyed cannot be listed.</source>
        <translation>
            <numerusform>%1; %n ausgegrautes kann nicht aufgenommen werden.</numerusform>
            <numerusform>%1; %n ausgegraute können nicht aufgenommen werden.</numerusform>
        </translation>
    </message>
    <message>
        <source>No game is checked.</source>
        <translation>Kein Spiel ist markiert.</translation>
    </message>
    <message>
        <source>Added to the list of %1: %2.</source>
        <translation>Zur Liste von %1 hinzugefügt: %2.</translation>
    </message>
    <message>
        <source>Added to the list of %1: %2; %3 not added.</source>
        <translation>Zur Liste von %1 hinzugefügt: %2; %3 nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>%1 could not be started: %2</source>
        <translation>%1 konnte nicht gestartet werden: %2</translation>
    </message>
    <message>
        <source>it was stopped by signal %1 (%2)</source>
        <translation>es wurde durch Signal %1 (%2) beendet</translation>
    </message>
    <message>
        <source>it ended with status %1</source>
        <translation>es endete mit Status %1</translation>
    </message>
</context>
<context>
    <name>LaunchFailureStrip</name>
    <message>
        <source>Show Output</source>
        <translation>Ausgabe zeigen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 ended with an error in %2: %3.</source>
        <translation>%1 endete in %2 mit einem Fehler: %3.</translation>
    </message>
    <message>
        <source>%1 did not start in %2: %3.</source>
        <translation>%1 ist in %2 nicht gestartet: %3.</translation>
    </message>
    <message>
        <source>It said: %1</source>
        <translation>Ausgabe: %1</translation>
    </message>
</context>
<context>
    <name>LaunchOutputView</name>
    <message>
        <source>The output cannot be read: %1</source>
        <translation>Die Ausgabe kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Output of %1</source>
        <translation>Ausgabe von %1</translation>
    </message>
</context>
<context>
    <name>LetterRow</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MainFrm</name>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Import Games...</source>
        <translation>Spiele &amp;importieren...</translation>
    </message>
    <message>
        <source>Edit &amp;Roms List</source>
        <translation>&amp;ROM-Liste bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Emulator Config</source>
        <translation>&amp;Emulatoren einrichten</translation>
    </message>
    <message>
        <source>Zanku - A Multiple Emulator Front-End by Ervo Kallinder</source>
        <translation>Zanku – ein Frontend für mehrere Emulatoren von Ervo Kallinder</translation>
    </message>
    <message>
        <source>Launch Game</source>
        <translation>Spiel starten</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Waiting for selection...</source>
        <translation>Warte auf Auswahl...</translation>
    </message>
    <message>
        <source>Games:</source>
        <translation>Spiele:</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>&amp;Spiel</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Narrow the game list and show the snapshot again</source>
        <translation>Die Spieleliste schmaler machen und das Bild wieder zeigen</translation>
    </message>
    <message>
        <source>Widen the game list to show each game&apos;s type and emulator too (hides the snapshot)</source>
        <translation>Die Spieleliste verbreitern, um auch Typ und Emulator jedes Spiels zu zeigen (blendet das Bild aus)</translation>
    </message>
</context>
<context>
    <name>OptionsFrm</name>
    <message numerus="yes">
        <source>%n games of this list name a .7z or .rar archive as their File: the emulator gets the archive as it is.
Name the game inside each archive instead? Zanku then extracts it at each launch and keeps its saves. Save to keep the change.</source>
        <translation>
            <numerusform>%n Spiel dieser Liste nennt ein .7z- oder .rar-Archiv als Datei: Der Emulator bekommt das Archiv, wie es ist.
Stattdessen das Spiel im Archiv nennen? Zanku entpackt es dann bei jedem Start und bewahrt seine Spielstände. Speichere, um die Änderung zu behalten.</numerusform>
            <numerusform>%n Spiele dieser Liste nennen ein .7z- oder .rar-Archiv als Datei: Der Emulator bekommt das Archiv, wie es ist.
Stattdessen das Spiel in jedem Archiv nennen? Zanku entpackt es dann bei jedem Start und bewahrt seine Spielstände. Speichere, um die Änderung zu behalten.</numerusform>
        </translation>
    </message>
    <message>
        <source>Edit Configuration</source>
        <translation>Konfiguration bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Add New</source>
        <translation>&amp;Neu hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Choose an Emulator</source>
        <translation>Wähle einen Emulator</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>the ROM list of %1</source>
        <translation>die ROM-Liste von %1</translation>
    </message>
    <message>
        <source>the emulator list</source>
        <translation>die Emulatorliste</translation>
    </message>
    <message>
        <source>There are unsaved changes to the ROM list of %1.
Drop them and show the list of %2?</source>
        <translation>Es gibt ungespeicherte Änderungen an der ROM-Liste von %1.
Verwerfen und die Liste von %2 zeigen?</translation>
    </message>
    <message>
        <source>Total Rom Listed :  %1</source>
        <translation>ROMs insgesamt :  %1</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened.

Reload it? The edits made here would be lost; No keeps them, unsaved.</source>
        <translation>%1 wurde seit dem Öffnen von einem anderen Programm geändert.

Neu laden? Die hier gemachten Änderungen gingen verloren; Nein behält sie, ungespeichert.</translation>
    </message>
    <message>
        <source>%1 was changed by the import since it was opened. Your edits are kept; a Save will offer to reload it first.</source>
        <translation>%1 wurde seit dem Öffnen durch den Import geändert. Deine Änderungen bleiben erhalten; Speichern bietet an, die Datei zuerst neu zu laden.</translation>
    </message>
    <message>
        <source>the ROM lists</source>
        <translation>die ROM-Listen</translation>
    </message>
    <message>
        <source>There are unsaved changes to %1.
Drop them and edit %2 instead?</source>
        <translation>Es gibt ungespeicherte Änderungen an %1.
Verwerfen und stattdessen %2 bearbeiten?</translation>
    </message>
    <message>
        <source>There are unsaved changes to %1.
Save them before closing?</source>
        <translation>Es gibt ungespeicherte Änderungen an %1.
Vor dem Schließen speichern?</translation>
    </message>
</context>
<context>
    <name>OptionsNewFrm</name>
    <message>
        <source>The snapshot folder: &lt;File without its extension&gt;.jpg, .gif, .bmp, .png or .webp, and inside it the artwork sets&apos; folders Named_Boxarts, Named_Titles and Named_Snaps (by the game&apos;s Name), covers, titlescreens and screenshots (by its File).</source>
        <translation>Der Bilderordner: &lt;Datei ohne Endung&gt;.jpg, .gif, .bmp, .png oder .webp, und darin die Ordner der Bildersammlungen Named_Boxarts, Named_Titles und Named_Snaps (nach dem Namen des Spiels), covers, titlescreens und screenshots (nach seiner Datei).</translation>
    </message>
    <message>
        <source>Edit Configuration</source>
        <translation>Konfiguration bearbeiten</translation>
    </message>
    <message>
        <source>Choose Game Type</source>
        <translation>Spieltyp wählen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Edit Emulator Properties</source>
        <translation>Emulatoreigenschaften bearbeiten</translation>
    </message>
    <message>
        <source>Edit Game Properties</source>
        <translation>Spieleigenschaften bearbeiten</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Choose the folder that holds this emulator&apos;s games</source>
        <translation>Wähle den Ordner mit den Spielen dieses Emulators</translation>
    </message>
</context>
<context>
    <name>RecentMenu</name>
    <message>
        <source>&amp;Recently Played</source>
        <translation>&amp;Zuletzt gespielt</translation>
    </message>
</context>
<context>
    <name>ShowMenu</name>
    <message>
        <source>Rename Collection</source>
        <translation>Sammlung umbenennen</translation>
    </message>
    <message>
        <source>New name of the collection:</source>
        <translation>Neuer Name der Sammlung:</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>There is a collection named %1 already.</source>
        <translation>Es gibt schon eine Sammlung namens %1.</translation>
    </message>
    <message>
        <source>Delete Collection</source>
        <translation>Sammlung löschen</translation>
    </message>
    <message>
        <source>Delete the collection %1? Its games stay in the library.</source>
        <translation>Die Sammlung %1 löschen? Ihre Spiele bleiben in der Bibliothek.</translation>
    </message>
    <message>
        <source>&amp;Show</source>
        <translation>&amp;Zeigen</translation>
    </message>
    <message>
        <source>&amp;All Games</source>
        <translation>&amp;Alle Spiele</translation>
    </message>
    <message>
        <source>&amp;Favourites</source>
        <translation>&amp;Favoriten</translation>
    </message>
    <message>
        <source>Re&amp;name Collection...</source>
        <translation>Sammlung &amp;umbenennen...</translation>
    </message>
    <message>
        <source>&amp;Delete Collection...</source>
        <translation>Sammlung &amp;löschen...</translation>
    </message>
</context>
<context>
    <name>SnapshotFrame</name>
    <message>
        <source>SnapShot</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Picture Not Available</source>
        <translation>Kein Bild vorhanden</translation>
    </message>
</context>
<context>
    <name>StartupOptions</name>
    <message>
        <source>--launch needs an emulator and a game</source>
        <translation>--launch braucht einen Emulator und ein Spiel</translation>
    </message>
    <message>
        <source>--library needs a folder</source>
        <translation>--library braucht einen Ordner</translation>
    </message>
    <message>
        <source>the library folder &quot;%1&quot; has a name that is not valid UTF-8; Zanku cannot name the files in it</source>
        <translation>der Bibliotheksordner „%1“ hat einen Namen, der kein gültiges UTF-8 ist; Zanku kann die Dateien darin nicht benennen</translation>
    </message>
    <message>
        <source>cannot create the library folder &quot;%1&quot;</source>
        <translation>der Bibliotheksordner „%1“ kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot enter the library folder &quot;%1&quot;</source>
        <translation>der Bibliotheksordner „%1“ kann nicht betreten werden</translation>
    </message>
    <message>
        <source>Usage: zanku [--library DIR] [--no-gamepad] [--full-screen] [--launch EMULATOR GAME]
       zanku --install-desktop-entry
A front-end for several game emulators: every game of every emulator in one list,
started with a double-click.

  --library DIR  keep Zanku.ini and the ROM lists in DIR and start there; DIR is
                 created when missing; @data stands for the user&apos;s data folder
                 (%1)
  --no-gamepad   do not let game controllers work the list
  --full-screen  open full screen, in the view made for a TV and a controller
  --install-desktop-entry
                 put this Zanku into the application menu (for a copy that was
                 unpacked, not installed) and exit
  --launch EMULATOR GAME
                 start that game (the names as the list shows them) without
                 the window; end with the emulator&apos;s exit status
  --help         show this help and exit
  --version      show the version and exit

Without --library the program directory is the folder Zanku is started in.
</source>
        <translation>Aufruf: zanku [--library ORDNER] [--no-gamepad] [--full-screen] [--launch EMULATOR SPIEL]
       zanku --install-desktop-entry
Ein Frontend für mehrere Spiele-Emulatoren: jedes Spiel jedes Emulators in einer Liste,
gestartet mit einem Doppelklick.

  --library ORDNER  Zanku.ini und die ROM-Listen in ORDNER halten und dort starten;
                    ORDNER wird angelegt, wenn er fehlt; @data steht für den
                    Datenordner des Benutzers (%1)
  --no-gamepad      Gamecontroller die Liste nicht bedienen lassen
  --full-screen     im Vollbild öffnen, in der Ansicht für Fernseher und Controller
  --install-desktop-entry
                    dieses Zanku ins Anwendungsmenü aufnehmen (für eine entpackte,
                    nicht installierte Kopie) und beenden
  --launch EMULATOR SPIEL
                    dieses Spiel (die Namen, wie die Liste sie zeigt) ohne das
                    Fenster starten; mit dem Exit-Status des Emulators enden
  --help            diese Hilfe zeigen und beenden
  --version         die Version zeigen und beenden

Ohne --library ist das Programmverzeichnis der Ordner, in dem Zanku gestartet wird.
</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Zanku is in the menu: %1</source>
        <translation>Zanku steht im Menü: %1</translation>
    </message>
</context>
<context>
    <name>SteamAdd</name>
    <message>
        <source>Games added to Steam: %1.</source>
        <translation>Zu Steam hinzugefügte Spiele: %1.</translation>
    </message>
    <message>
        <source>Games updated in Steam: %1.</source>
        <translation>In Steam aktualisierte Spiele: %1.</translation>
    </message>
    <message>
        <source>Steam users: %1.</source>
        <translation>Steam-Benutzer: %1.</translation>
    </message>
    <message>
        <source>Problems:</source>
        <translation>Probleme:</translation>
    </message>
    <message>
        <source>Steam shows them once it starts again.</source>
        <translation>Steam zeigt sie nach dem nächsten Start.</translation>
    </message>
    <message>
        <source>Add to Steam</source>
        <translation>Zu Steam hinzufügen</translation>
    </message>
    <message>
        <source>The list shows no games to add.</source>
        <translation>Die Liste zeigt keine Spiele zum Hinzufügen.</translation>
    </message>
    <message>
        <source>Add every game the list shows (%1) to Steam?</source>
        <translation>Jedes Spiel, das die Liste zeigt (%1), zu Steam hinzufügen?</translation>
    </message>
    <message>
        <source>Add Shown Games to &amp;Steam...</source>
        <translation>Angezeigte Spiele zu &amp;Steam hinzufügen...</translation>
    </message>
</context>
<context>
    <name>ViewModes</name>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Covers</source>
        <translation>&amp;Cover</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Vollbild</translation>
    </message>
</context>
<context>
    <name>zanku::LibraryMetadata</name>
    <message>
        <source>Game details read only up to line %1 of %2: %3. The games before it keep theirs.</source>
        <translation>Spieldetails nur bis Zeile %1 von %2 gelesen: %3. Die Spiele davor behalten ihre.</translation>
    </message>
</context>
</TS>
