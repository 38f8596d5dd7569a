<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AboutFrm</name>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Versión %1.%2.%3</translation>
    </message>
    <message>
        <source>Zanku is a Front-End for multiple emulators.</source>
        <translation>Zanku es un front-end para varios emuladores.</translation>
    </message>
    <message>
        <source>Created by:</source>
        <translation>Creado por:</translation>
    </message>
    <message>
        <source>If you have bug report or suggestion please E-mail Me</source>
        <translation>Si tienes un informe de error o una sugerencia, escríbeme un correo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Acerca de %1</translation>
    </message>
</context>
<context>
    <name>ColumnsMenu</name>
    <message>
        <source>C&amp;olumns</source>
        <translation>&amp;Columnas</translation>
    </message>
    <message>
        <source>&amp;Year</source>
        <translation>&amp;Año</translation>
    </message>
    <message>
        <source>&amp;Genre</source>
        <translation>&amp;Género</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>
Launches with %1</source>
        <translation>
Se inicia con %1</translation>
    </message>
    <message>
        <source>Game Name</source>
        <translation>Nombre del juego</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Emulator</source>
        <translation>Emulador</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Año</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Género</translation>
    </message>
    <message>
        <source>File %1 Not Found! You&apos;ll not be able to play the game of this Emulator!</source>
        <translation>¡No se encuentra el archivo %1! ¡No podrás jugar a los juegos de este emulador!</translation>
    </message>
    <message>
        <source>Emulator %1 Not configured properly!! Path Not Found!</source>
        <translation>¡¡El emulador %1 no está bien configurado!! ¡Ruta no encontrada!</translation>
    </message>
    <message>
        <source>
It has no Games Directory: set one in Options &gt; Emulator Config.</source>
        <translation>
No tiene directorio de juegos: indica uno en Opciones &gt; Configurar emuladores.</translation>
    </message>
    <message>
        <source>
Its Games Directory &quot;%1&quot; is not a folder.</source>
        <translation>
Su directorio de juegos «%1» no es una carpeta.</translation>
    </message>
    <message>
        <source>
Its Games Directory &quot;%1&quot; does not exist.</source>
        <translation>
Su directorio de juegos «%1» no existe.</translation>
    </message>
    <message>
        <source>Games  ( %1 Roms )</source>
        <translation>Juegos  ( %1 ROMs )</translation>
    </message>
    <message>
        <source>Games  ( %1 of %2 Roms )</source>
        <translation>Juegos  ( %1 de %2 ROMs )</translation>
    </message>
    <message>
        <source>The %1 may not contain &quot;%2&quot;: it also names the emulator&apos;s ROM list file.</source>
        <translation>%1 no puede contener «%2»: también da nombre al archivo de la lista de ROMs del emulador.</translation>
    </message>
    <message>
        <source>The %1 may not contain control characters: it also names the emulator&apos;s ROM list file.</source>
        <translation>%1 no puede contener caracteres de control: también da nombre al archivo de la lista de ROMs del emulador.</translation>
    </message>
    <message>
        <source>The %1 may not be made only of dots and blanks: it also names the emulator&apos;s ROM list file.</source>
        <translation>%1 no puede constar solo de puntos y espacios: también da nombre al archivo de la lista de ROMs del emulador.</translation>
    </message>
    <message>
        <source>The %1 may not be &quot;%2&quot;: that name belongs to a device and cannot name the emulator&apos;s ROM list file.</source>
        <translation>%1 no puede ser «%2»: ese nombre pertenece a un dispositivo y no puede dar nombre al archivo de la lista de ROMs del emulador.</translation>
    </message>
    <message>
        <source>The %1 may not contain a line break: each value is one line of its file.</source>
        <translation>%1 no puede contener un salto de línea: cada valor es una línea de su archivo.</translation>
    </message>
    <message>
        <source>The %1 may not contain &quot;=&quot;: the ROM list line would be read back split differently.</source>
        <translation>%1 no puede contener «=»: la línea de la lista de ROMs se leería dividida de otra forma.</translation>
    </message>
    <message>
        <source>The %1 may not begin with &quot;;&quot;: Zanku.ini would then read as a past version and the program would not start.</source>
        <translation>%1 no puede empezar por «;»: Zanku.ini se leería entonces como una versión antigua y el programa no se iniciaría.</translation>
    </message>
    <message>
        <source>Choose an emulator from the list first: no ROM list is open, so nothing was saved.</source>
        <translation>Elige primero un emulador de la lista: no hay ninguna lista de ROMs abierta, así que no se guardó nada.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an emulator of the configuration. Choose one from the list; nothing was saved.</source>
        <translation>«%1» no es un emulador de la configuración. Elige uno de la lista; no se guardó nada.</translation>
    </message>
    <message>
        <source>The list shown belongs to &quot;%1&quot;, not to &quot;%2&quot;. Choose &quot;%2&quot; from the list to edit its games; nothing was saved.</source>
        <translation>La lista mostrada pertenece a «%1», no a «%2». Elige «%2» de la lista para editar sus juegos; no se guardó nada.</translation>
    </message>
    <message>
        <source>%1 could not be read, so the editor does not show what it holds. Saving would replace it; nothing was saved.</source>
        <translation>No se pudo leer %1, así que el editor no muestra lo que contiene. Guardar lo reemplazaría; no se guardó nada.</translation>
    </message>
    <message>
        <source>At Least Game and File MUST be added</source>
        <translation>Hay que indicar COMO MÍNIMO el juego y el archivo</translation>
    </message>
    <message>
        <source>%1 is renamed %2, but a ROM list %3 is there already.

Save anyway? %2 then lists the games of %3, and %4 stays as it is.</source>
        <translation>%1 pasa a llamarse %2, pero ya existe una lista de ROMs %3.

¿Guardar de todos modos? %2 mostrará entonces los juegos de %3, y %4 se queda como está.</translation>
    </message>
    <message>
        <source>%1 is renamed %2, but saves kept for an emulator named %2 are there already.

Yes merges them: the games of %1 keep their own saves, and any of the others in their way is kept beside them as &quot;(old)&quot;. No keeps both: the saves there are renamed %3 first. Cancel saves nothing.</source>
        <translation>%1 pasa a llamarse %2, pero ya hay partidas guardadas de un emulador llamado %2.

Sí las combina: los juegos de %1 conservan sus propias partidas, y cualquiera de las otras que estorbe se guarda a su lado como «(old)». No conserva ambas: primero se cambia el nombre de las partidas existentes a %3. Cancelar no guarda nada.</translation>
    </message>
    <message>
        <source>not a regular file (it is a folder, a device or a pipe)</source>
        <translation>no es un archivo normal (es una carpeta, un dispositivo o una tubería)</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>ocupa más de %1 bytes</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>el archivo no existe</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>el disco está lleno</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permiso denegado</translation>
    </message>
    <message>
        <source>the file could not be created</source>
        <translation>no se pudo crear el archivo</translation>
    </message>
    <message>
        <source>the new file could not take the old one&apos;s place</source>
        <translation>el archivo nuevo no pudo ocupar el lugar del antiguo</translation>
    </message>
    <message>
        <source>the data could not be written</source>
        <translation>no se pudieron escribir los datos</translation>
    </message>
    <message>
        <source>it is over 64 MiB, too large to be a list of emulators or games</source>
        <translation>ocupa más de 64 MiB, demasiado para ser una lista de emuladores o juegos</translation>
    </message>
    <message>
        <source>only %1 of its %2 bytes could be written</source>
        <translation>solo se pudieron escribir %1 de sus %2 bytes</translation>
    </message>
    <message>
        <source>a link of that name is there, and no file is written through one</source>
        <translation>existe un enlace con ese nombre, y no se escribe ningún archivo a través de un enlace</translation>
    </message>
    <message>
        <source>a file of that name is already there</source>
        <translation>ya existe un archivo con ese nombre</translation>
    </message>
    <message>
        <source>Could not save %1: %2
The file on disk is unchanged.</source>
        <translation>No se pudo guardar %1: %2
El archivo del disco no ha cambiado.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>
What is played now will not be recorded.</source>
        <translation>
Lo que se juegue ahora no quedará registrado.</translation>
    </message>
    <message>
        <source>
Collections and launch choices will not be saved.</source>
        <translation>
Las colecciones y las elecciones de inicio no se guardarán.</translation>
    </message>
    <message>
        <source>Never played</source>
        <translation>Nunca jugado</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>d MMM yyyy</source>
        <translation>d MMM yyyy</translation>
    </message>
    <message numerus="yes">
        <source>Played %n times, %1 in all, last on %2</source>
        <translation>
            <numerusform>Jugado %n vez, %1 en total, la última el %2</numerusform>
            <numerusform>Jugado %n veces, %1 en total, la última el %2</numerusform>
        </translation>
    </message>
    <message>
        <source>its lock file %1 is not an ordinary file</source>
        <translation>su archivo de bloqueo %1 no es un archivo normal</translation>
    </message>
    <message>
        <source>another Zanku is saving it</source>
        <translation>otro Zanku lo está guardando</translation>
    </message>
    <message>
        <source>its lock file cannot be made: %1</source>
        <translation>no se puede crear su archivo de bloqueo: %1</translation>
    </message>
    <message>
        <source>no program directory was read</source>
        <translation>no se leyó ningún directorio del programa</translation>
    </message>
    <message>
        <source>
Nothing was added.</source>
        <translation>
No se añadió nada.</translation>
    </message>
    <message>
        <source>%1 (%2): %3
Nothing was added.</source>
        <translation>%1 (%2): %3
No se añadió nada.</translation>
    </message>
    <message>
        <source>%1 was not added: %2
</source>
        <translation>%1 no se añadió: %2
</translation>
    </message>
    <message>
        <source>it is a link, which is not extracted</source>
        <translation>es un enlace, que no se extrae</translation>
    </message>
    <message>
        <source>a name over %1 bytes, longer than a file system holds</source>
        <translation>un nombre de más de %1 bytes, más largo de lo que admite un sistema de archivos</translation>
    </message>
    <message>
        <source>Not a readable %1 archive: %2.</source>
        <translation>No es un archivo %1 legible: %2.</translation>
    </message>
    <message>
        <source>The archive holds no file.</source>
        <translation>El archivo comprimido no contiene ningún archivo.</translation>
    </message>
    <message>
        <source>Its game file &quot;%1&quot; would not be extracted: %2.</source>
        <translation>Su archivo de juego «%1» no se extraería: %2.</translation>
    </message>
    <message>
        <source>Its game file &quot;%1&quot; has no extension: the catalogue would look for another archive.</source>
        <translation>Su archivo de juego «%1» no tiene extensión: el catálogo buscaría otro archivo comprimido.</translation>
    </message>
    <message>
        <source>inside: </source>
        <translation>dentro: </translation>
    </message>
    <message>
        <source>written on adding: </source>
        <translation>se escribe al añadir: </translation>
    </message>
    <message>
        <source>discs: </source>
        <translation>discos: </translation>
    </message>
    <message>
        <source>%1 is already there and lists other discs: rename it, or list these discs in it.</source>
        <translation>%1 ya existe y enumera otros discos: cámbiale el nombre o añade estos discos a la lista.</translation>
    </message>
    <message>
        <source>%1 is already there and cannot be read as a list of discs: %2.</source>
        <translation>%1 ya existe y no se puede leer como lista de discos: %2.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.</source>
        <translation>No se pudo escribir %1: %2.</translation>
    </message>
    <message>
        <source>Its name cannot be written in a ROM list in this system&apos;s code page.</source>
        <translation>Su nombre no se puede escribir en una lista de ROMs con la página de códigos de este sistema.</translation>
    </message>
    <message>
        <source>Its name holds &quot;=&quot;, which a ROM list line cannot hold.</source>
        <translation>Su nombre contiene «=», que una línea de la lista de ROMs no puede contener.</translation>
    </message>
    <message>
        <source>Its name holds a line break, which a ROM list line cannot hold.</source>
        <translation>Su nombre contiene un salto de línea, que una línea de la lista de ROMs no puede contener.</translation>
    </message>
    <message>
        <source>The catalogue looks for archives ending in &quot;%1&quot;.</source>
        <translation>El catálogo busca archivos comprimidos que terminen en «%1».</translation>
    </message>
    <message>
        <source>Emulator %1 has no Games Directory to look in: set one in Options &gt; Emulator Config.</source>
        <translation>El emulador %1 no tiene directorio de juegos en el que buscar: indica uno en Opciones &gt; Configurar emuladores.</translation>
    </message>
    <message>
        <source>The Games Directory of emulator %1 cannot be read: &quot;%2&quot;.</source>
        <translation>No se puede leer el directorio de juegos del emulador %1: «%2».</translation>
    </message>
    <message>
        <source>The Zipped Roms Path of emulator %1 cannot be read: &quot;%2&quot;.</source>
        <translation>No se puede leer la ruta de ROMs comprimidas del emulador %1: «%2».</translation>
    </message>
    <message>
        <source>is not executable</source>
        <translation>no es ejecutable</translation>
    </message>
    <message>
        <source>was not found</source>
        <translation>no se encontró</translation>
    </message>
    <message>
        <source>%1 is in the way of its lock file</source>
        <translation>%1 ocupa el lugar de su archivo de bloqueo</translation>
    </message>
    <message>
        <source>it cannot be locked: %1</source>
        <translation>no se puede bloquear: %1</translation>
    </message>
    <message>
        <source>another Zanku keeps it locked</source>
        <translation>otro Zanku lo mantiene bloqueado</translation>
    </message>
    <message>
        <source>Could not write %1: %2
The folder %3 will not be removed after a crash.</source>
        <translation>No se pudo escribir %1: %2
La carpeta %3 no se eliminará tras un cierre inesperado.</translation>
    </message>
    <message>
        <source>The files the emulator wrote in %1 could not be kept in %2, so the folder stays until they can: its marker cannot be written.</source>
        <translation>Los archivos que el emulador escribió en %1 no se pudieron conservar en %2, así que la carpeta se queda hasta que se pueda: no se puede escribir su marca.</translation>
    </message>
    <message>
        <source>The files the emulator wrote in %1 could not be kept in %2, so the folder stays until they can:
%3</source>
        <translation>Los archivos que el emulador escribió en %1 no se pudieron conservar en %2, así que la carpeta se queda hasta que se pueda:
%3</translation>
    </message>
    <message>
        <source>%1 could not be removed entirely; it is tried again at the next clean-up.</source>
        <translation>No se pudo eliminar %1 por completo; se volverá a intentar en la próxima limpieza.</translation>
    </message>
    <message>
        <source>%1 is being extracted by another Zanku. Try again in a moment.</source>
        <translation>Otro Zanku está extrayendo %1. Vuelve a intentarlo en un momento.</translation>
    </message>
    <message>
        <source>%1 is being removed by another Zanku. Try again in a moment.</source>
        <translation>Otro Zanku está eliminando %1. Vuelve a intentarlo en un momento.</translation>
    </message>
    <message>
        <source>The game file %1 leads out of the emulator&apos;s directory %2, so its archive is not extracted and the game is not started.</source>
        <translation>El archivo de juego %1 sale fuera del directorio del emulador %2, así que no se extrae su archivo comprimido ni se inicia el juego.</translation>
    </message>
    <message>
        <source>%1 is in the way of the game&apos;s archive: it is not a folder Zanku made, so nothing is extracted into it. Move it away, or give the game a Destination Directory.</source>
        <translation>%1 ocupa el lugar del archivo comprimido del juego: no es una carpeta creada por Zanku, así que no se extrae nada en ella. Quítala de ahí o dale al juego un directorio de destino.</translation>
    </message>
    <message>
        <source>%1 is in the way of the game&apos;s archive.</source>
        <translation>%1 ocupa el lugar del archivo comprimido del juego.</translation>
    </message>
    <message>
        <source>Cannot make the folder %1 to extract the game into.</source>
        <translation>No se puede crear la carpeta %1 en la que extraer el juego.</translation>
    </message>
    <message>
        <source>Cannot extract into %1: %2</source>
        <translation>No se puede extraer en %1: %2</translation>
    </message>
    <message>
        <source>no program is configured</source>
        <translation>no hay ningún programa configurado</translation>
    </message>
    <message>
        <source>the program %1</source>
        <translation>el programa %1</translation>
    </message>
    <message>
        <source>Waiting for selection...</source>
        <translation>Esperando una selección...</translation>
    </message>
    <message>
        <source>Decompressing Games... %1.... Please Wait</source>
        <translation>Descomprimiendo juegos... %1.... Espera, por favor</translation>
    </message>
    <message>
        <source>Starting Game %1.... Have Fun</source>
        <translation>Iniciando el juego %1.... Que te diviertas</translation>
    </message>
    <message>
        <source>%1 cannot be made: %2</source>
        <translation>No se puede crear %1: %2</translation>
    </message>
    <message>
        <source>%1 could not be renamed to %2.</source>
        <translation>No se pudo cambiar el nombre de %1 a %2.</translation>
    </message>
    <message>
        <source>%1 could not be moved to %2.</source>
        <translation>No se pudo mover %1 a %2.</translation>
    </message>
    <message>
        <source>a document type declaration is not read</source>
        <translation>no se lee una declaración de tipo de documento</translation>
    </message>
    <message>
        <source>&quot;%1&quot; stands outside any game or collection</source>
        <translation>«%1» está fuera de cualquier juego o colección</translation>
    </message>
    <message>
        <source>an indented line continues no key</source>
        <translation>una línea sangrada no continúa ninguna clave</translation>
    </message>
    <message>
        <source>a line without &quot;key:&quot;</source>
        <translation>una línea sin «clave:»</translation>
    </message>
    <message>
        <source>Emulator Name</source>
        <translation>Nombre del emulador</translation>
    </message>
    <message>
        <source>Emul Program</source>
        <translation>Programa emul.</translation>
    </message>
    <message>
        <source>Emulator Program</source>
        <translation>Programa del emulador</translation>
    </message>
    <message>
        <source>Emul Path</source>
        <translation>Ruta emul.</translation>
    </message>
    <message>
        <source>Games Directory</source>
        <translation>Directorio de juegos</translation>
    </message>
    <message>
        <source>Zipped Roms Path</source>
        <translation>Ruta ROMs comprimidas</translation>
    </message>
    <message>
        <source>Zipped Rom Path</source>
        <translation>Ruta de ROMs comprimidas</translation>
    </message>
    <message>
        <source>Emul Snapshot</source>
        <translation>Captura emul.</translation>
    </message>
    <message>
        <source>Snapshot Path</source>
        <translation>Ruta de capturas</translation>
    </message>
    <message>
        <source>Emul Options</source>
        <translation>Opciones emul.</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>File or Dir Name</source>
        <translation>Archivo o directorio</translation>
    </message>
    <message>
        <source>Game File or Directory</source>
        <translation>Archivo o directorio del juego</translation>
    </message>
    <message>
        <source>Destination Dir</source>
        <translation>Dir. destino</translation>
    </message>
    <message>
        <source>Destination Directory</source>
        <translation>Directorio de destino</translation>
    </message>
    <message>
        <source>Game Options</source>
        <translation>Opciones del juego</translation>
    </message>
    <message>
        <source>Game Type</source>
        <translation>Tipo de juego</translation>
    </message>
    <message>
        <source>it is not a picture that can be read</source>
        <translation>no es una imagen que se pueda leer</translation>
    </message>
    <message>
        <source>the folder cannot be made</source>
        <translation>no se puede crear la carpeta</translation>
    </message>
    <message>
        <source>%1 is not a list of shortcuts Zanku can read; it was left as it is.</source>
        <translation>%1 no es una lista de accesos directos que Zanku pueda leer; se dejó como estaba.</translation>
    </message>
    <message>
        <source>No Steam user was found: Steam keeps them in %1.</source>
        <translation>No se encontró ningún usuario de Steam: Steam los guarda en %1.</translation>
    </message>
    <message>
        <source>Steam is running: close Steam first, then add the games again. Steam would otherwise write its own list over them.</source>
        <translation>Steam está abierto: cierra Steam primero y luego vuelve a añadir los juegos. Si no, Steam escribiría su propia lista encima.</translation>
    </message>
    <message>
        <source>its folder cannot be made</source>
        <translation>no se puede crear su carpeta</translation>
    </message>
    <message>
        <source>cannot find or open %1: %2</source>
        <translation>no se puede encontrar o abrir %1: %2</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 no es un archivo normal</translation>
    </message>
    <message>
        <source>%1 is empty, not a zip archive</source>
        <translation>%1 está vacío, no es un archivo zip</translation>
    </message>
    <message>
        <source>%1: the archive ends too early</source>
        <translation>%1: el archivo comprimido termina antes de tiempo</translation>
    </message>
    <message>
        <source>%1 is not a zip archive</source>
        <translation>%1 no es un archivo zip</translation>
    </message>
    <message>
        <source>%1 is part of a multi-part archive</source>
        <translation>%1 forma parte de un archivo comprimido en varias partes</translation>
    </message>
    <message>
        <source>%1: damaged archive (%2)</source>
        <translation>%1: archivo comprimido dañado (%2)</translation>
    </message>
    <message>
        <source>cannot create folder %1: %2</source>
        <translation>no se puede crear la carpeta %1: %2</translation>
    </message>
    <message>
        <source>%1 is a link or a file on disk, not a folder</source>
        <translation>%1 es un enlace o un archivo en el disco, no una carpeta</translation>
    </message>
    <message>
        <source>cannot open folder %1: %2</source>
        <translation>no se puede abrir la carpeta %1: %2</translation>
    </message>
    <message>
        <source>the member&apos;s data disagrees with its declared size</source>
        <translation>los datos del miembro no coinciden con su tamaño declarado</translation>
    </message>
    <message>
        <source>the member&apos;s data makes no progress</source>
        <translation>los datos del miembro no avanzan</translation>
    </message>
    <message>
        <source>the member&apos;s data is shorter than declared</source>
        <translation>los datos del miembro son más cortos de lo declarado</translation>
    </message>
    <message>
        <source>%1 is empty, not an archive</source>
        <translation>%1 está vacío, no es un archivo comprimido</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>memoria agotada</translation>
    </message>
    <message>
        <source>the archive ends too early</source>
        <translation>el archivo comprimido termina antes de tiempo</translation>
    </message>
    <message>
        <source>unreadable archive</source>
        <translation>archivo comprimido ilegible</translation>
    </message>
    <message>
        <source>the data is larger than its declared size</source>
        <translation>los datos son mayores que su tamaño declarado</translation>
    </message>
    <message>
        <source>the data is shorter than its declared size</source>
        <translation>los datos son más cortos que su tamaño declarado</translation>
    </message>
    <message>
        <source>bad CRC</source>
        <translation>CRC incorrecto</translation>
    </message>
    <message>
        <source>the compressed data ends too early</source>
        <translation>los datos comprimidos terminan antes de tiempo</translation>
    </message>
    <message>
        <source>corrupt compressed data</source>
        <translation>datos comprimidos dañados</translation>
    </message>
    <message>
        <source>disk full</source>
        <translation>disco lleno</translation>
    </message>
    <message>
        <source>write error: %1</source>
        <translation>error de escritura: %1</translation>
    </message>
    <message>
        <source>the file system cannot hold the name: %1</source>
        <translation>el sistema de archivos no admite el nombre: %1</translation>
    </message>
    <message>
        <source>cannot put the file in place: %1</source>
        <translation>no se puede poner el archivo en su sitio: %1</translation>
    </message>
    <message>
        <source>a drive letter</source>
        <translation>una letra de unidad</translation>
    </message>
    <message>
        <source>a control character</source>
        <translation>un carácter de control</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, which Windows does not allow in a name</source>
        <translation>«%1», que Windows no admite en un nombre</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, which Windows would shorten</source>
        <translation>«%1», que Windows acortaría</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, a device name on Windows</source>
        <translation>«%1», un nombre de dispositivo en Windows</translation>
    </message>
    <message>
        <source>an empty name</source>
        <translation>un nombre vacío</translation>
    </message>
    <message>
        <source>an absolute path</source>
        <translation>una ruta absoluta</translation>
    </message>
    <message>
        <source>a &quot;..&quot; component, which leads out of the folder</source>
        <translation>un componente «..», que sale de la carpeta</translation>
    </message>
    <message>
        <source>the name of Zanku&apos;s own record of the folder</source>
        <translation>el nombre del registro propio de Zanku sobre la carpeta</translation>
    </message>
    <message>
        <source>no file name</source>
        <translation>sin nombre de archivo</translation>
    </message>
    <message>
        <source>the zip64 end record is missing</source>
        <translation>falta el registro final zip64</translation>
    </message>
    <message>
        <source>the zip64 end record is damaged</source>
        <translation>el registro final zip64 está dañado</translation>
    </message>
    <message>
        <source>the central directory lies beyond the end of the file</source>
        <translation>el directorio central está más allá del final del archivo</translation>
    </message>
    <message>
        <source>the archive holds two central directories</source>
        <translation>el archivo comprimido contiene dos directorios centrales</translation>
    </message>
    <message>
        <source>no central directory</source>
        <translation>no hay directorio central</translation>
    </message>
    <message>
        <source>damaged central directory</source>
        <translation>directorio central dañado</translation>
    </message>
    <message>
        <source>the archive&apos;s directory and its entries disagree</source>
        <translation>el directorio del archivo comprimido y sus entradas no coinciden</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>carpeta</translation>
    </message>
    <message>
        <source>file</source>
        <translation>archivo</translation>
    </message>
    <message>
        <source>reading…</source>
        <translation>leyendo…</translation>
    </message>
</context>
<context>
    <name>CouchMenu</name>
    <message>
        <source>Show the List</source>
        <translation>Mostrar la lista</translation>
    </message>
    <message>
        <source>Show the Covers</source>
        <translation>Mostrar las portadas</translation>
    </message>
    <message>
        <source>Find a Game...</source>
        <translation>Buscar un juego...</translation>
    </message>
    <message>
        <source>Leave Full Screen</source>
        <translation>Salir de pantalla completa</translation>
    </message>
    <message>
        <source>Quit Zanku...</source>
        <translation>Salir de Zanku...</translation>
    </message>
</context>
<context>
    <name>CouchView</name>
    <message>
        <source>A: Launch      Start: Menu      Select: Covers or List      B: Back      Menu &gt; Find a Game</source>
        <translation>A: Jugar      Start: Menú      Select: Portadas o lista      B: Atrás      Menú &gt; Buscar un juego</translation>
    </message>
    <message>
        <source>Quit Zanku</source>
        <translation>Salir de Zanku</translation>
    </message>
    <message>
        <source>Quit Zanku?</source>
        <translation>¿Salir de Zanku?</translation>
    </message>
</context>
<context>
    <name>DirFrm</name>
    <message>
        <source>Choose Emulator Directory</source>
        <translation>Elegir el directorio del emulador</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Examinar...</translation>
    </message>
</context>
<context>
    <name>EmptyListHint</name>
    <message>
        <source>%1 cannot be read: %2.

Put it right or move it away, then start Zanku again.</source>
        <translation>No se puede leer %1: %2.

Corrígelo o quítalo de ahí y vuelve a iniciar Zanku.</translation>
    </message>
    <message>
        <source>No games listed yet: list them with %1 or %2</source>
        <translation>Aún no hay juegos en la lista: añádelos con %1 o %2</translation>
    </message>
    <message>
        <source>No emulator yet: add one with %1

Then list its games with %2 or %3</source>
        <translation>Aún no hay ningún emulador: añade uno con %1

Luego añade sus juegos con %2 o %3</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
</context>
<context>
    <name>GameDetailsPanel</name>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Año</translation>
    </message>
    <message>
        <source>Developer</source>
        <translation>Desarrollador</translation>
    </message>
    <message>
        <source>Publisher</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Género</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Jugadores</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Valoración</translation>
    </message>
    <message>
        <source>No picture: the emulator has no Snapshot Path to look in.</source>
        <translation>Sin imagen: el emulador no tiene ruta de capturas en la que buscar.</translation>
    </message>
    <message>
        <source>No picture. Zanku looks for %1 (.jpg, .gif, .bmp, .png or .webp), and in Named_Boxarts, Named_Titles, Named_Snaps, covers, titlescreens and screenshots inside %2.</source>
        <translation>Sin imagen. Zanku busca %1 (.jpg, .gif, .bmp, .png o .webp), y en Named_Boxarts, Named_Titles, Named_Snaps, covers, titlescreens y screenshots dentro de %2.</translation>
    </message>
</context>
<context>
    <name>GameListView</name>
    <message>
        <source>Show Favourites &amp;Only</source>
        <translation>Mostrar s&amp;olo favoritos</translation>
    </message>
</context>
<context>
    <name>GameMenu</name>
    <message>
        <source>Launch &amp;With</source>
        <translation>Iniciar &amp;con</translation>
    </message>
    <message>
        <source>&amp;Always Launch With</source>
        <translation>Iniciar &amp;siempre con</translation>
    </message>
    <message>
        <source>%1 (its own)</source>
        <translation>%1 (el suyo propio)</translation>
    </message>
    <message>
        <source>Add to &amp;Collection</source>
        <translation>&amp;Añadir a colección</translation>
    </message>
    <message>
        <source>&amp;New Collection...</source>
        <translation>&amp;Nueva colección...</translation>
    </message>
    <message>
        <source>New Collection</source>
        <translation>Nueva colección</translation>
    </message>
    <message>
        <source>Name of the new collection:</source>
        <translation>Nombre de la nueva colección:</translation>
    </message>
    <message>
        <source>&amp;Remove from Collection</source>
        <translation>&amp;Quitar de colección</translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation>&amp;Iniciar</translation>
    </message>
    <message>
        <source>&amp;Favourite</source>
        <translation>&amp;Favorito</translation>
    </message>
    <message>
        <source>Add to &amp;Steam</source>
        <translation>Añadir a S&amp;team</translation>
    </message>
</context>
<context>
    <name>HeadlessLaunch</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>no emulator is named &quot;%1&quot; in %2</source>
        <translation>ningún emulador se llama «%1» en %2</translation>
    </message>
    <message>
        <source>the emulator &quot;%1&quot; lists no game named &quot;%2&quot;</source>
        <translation>el emulador «%1» no tiene ningún juego llamado «%2»</translation>
    </message>
    <message>
        <source>%1 ended with an error in %2: %3</source>
        <translation>%1 terminó con un error en %2: %3</translation>
    </message>
    <message>
        <source>%1 did not start in %2: %3</source>
        <translation>%1 no se inició en %2: %3</translation>
    </message>
</context>
<context>
    <name>ImportFrm</name>
    <message>
        <source>Reading the archives of %1...</source>
        <translation>Leyendo los archivos comprimidos de %1...</translation>
    </message>
    <message>
        <source>Import Games</source>
        <translation>Importar juegos</translation>
    </message>
    <message>
        <source>Choose an Emulator</source>
        <translation>Elige un emulador</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Add Checked</source>
        <translation>Añadir marcados</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Emulator:</source>
        <translation>Emulador:</translation>
    </message>
    <message>
        <source>Filter:</source>
        <translation>Filtro:</translation>
    </message>
    <message>
        <source>Type of the checked games:</source>
        <translation>Tipo de los juegos marcados:</translation>
    </message>
    <message>
        <source>%1 is no longer configured.</source>
        <translation>%1 ya no está configurado.</translation>
    </message>
    <message>
        <source>Scanning the folders of %1...</source>
        <translation>Examinando las carpetas de %1...</translation>
    </message>
    <message>
        <source>Scan cancelled: nothing to add.</source>
        <translation>Búsqueda cancelada: nada que añadir.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message numerus="yes">
        <source>%n games not listed yet</source>
        <translation>
            <numerusform>%n juego aún sin añadir</numerusform>
            <numerusform>%n juegos aún sin añadir</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1; %n greyed cannot be listed.</source>
        <translation>
            <numerusform>%1; %n en gris no se puede añadir a la lista.</numerusform>
            <numerusform>%1; %n en gris no se pueden añadir a la lista.</numerusform>
        </translation>
    </message>
    <message>
        <source>No game is checked.</source>
        <translation>No hay ningún juego marcado.</translation>
    </message>
    <message>
        <source>Added to the list of %1: %2.</source>
        <translation>Añadidos a la lista de %1: %2.</translation>
    </message>
    <message>
        <source>Added to the list of %1: %2; %3 not added.</source>
        <translation>Añadidos a la lista de %1: %2; %3 sin añadir.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Clase</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Nota</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>%1 could not be started: %2</source>
        <translation>No se pudo iniciar %1: %2</translation>
    </message>
    <message>
        <source>it was stopped by signal %1 (%2)</source>
        <translation>lo detuvo la señal %1 (%2)</translation>
    </message>
    <message>
        <source>it ended with status %1</source>
        <translation>terminó con el estado %1</translation>
    </message>
</context>
<context>
    <name>LaunchFailureStrip</name>
    <message>
        <source>Show Output</source>
        <translation>Mostrar salida</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>%1 ended with an error in %2: %3.</source>
        <translation>%1 terminó con un error en %2: %3.</translation>
    </message>
    <message>
        <source>%1 did not start in %2: %3.</source>
        <translation>%1 no se inició en %2: %3.</translation>
    </message>
    <message>
        <source>It said: %1</source>
        <translation>Dijo: %1</translation>
    </message>
</context>
<context>
    <name>LaunchOutputView</name>
    <message>
        <source>The output cannot be read: %1</source>
        <translation>No se puede leer la salida: %1</translation>
    </message>
    <message>
        <source>Output of %1</source>
        <translation>Salida de %1</translation>
    </message>
</context>
<context>
    <name>LetterRow</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>MainFrm</name>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;Import Games...</source>
        <translation>&amp;Importar juegos...</translation>
    </message>
    <message>
        <source>Edit &amp;Roms List</source>
        <translation>Editar lista de &amp;ROMs</translation>
    </message>
    <message>
        <source>&amp;Emulator Config</source>
        <translation>Configurar &amp;emuladores</translation>
    </message>
    <message>
        <source>Zanku - A Multiple Emulator Front-End by Ervo Kallinder</source>
        <translation>Zanku: un front-end para varios emuladores, de Ervo Kallinder</translation>
    </message>
    <message>
        <source>Launch Game</source>
        <translation>Iniciar juego</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Waiting for selection...</source>
        <translation>Esperando una selección...</translation>
    </message>
    <message>
        <source>Games:</source>
        <translation>Juegos:</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>&amp;Juego</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Acerca de</translation>
    </message>
    <message>
        <source>Narrow the game list and show the snapshot again</source>
        <translation>Estrechar la lista de juegos y volver a mostrar la captura</translation>
    </message>
    <message>
        <source>Widen the game list to show each game&apos;s type and emulator too (hides the snapshot)</source>
        <translation>Ensanchar la lista de juegos para mostrar también el tipo y el emulador de cada juego (oculta la captura)</translation>
    </message>
</context>
<context>
    <name>OptionsFrm</name>
    <message numerus="yes">
        <source>%n games of this list name a .7z or .rar archive as their File: the emulator gets the archive as it is.
Name the game inside each archive instead? Zanku then extracts it at each launch and keeps its saves. Save to keep the change.</source>
        <translation>
            <numerusform>%n juego de esta lista indica un archivo .7z o .rar como archivo: el emulador recibe el archivo comprimido tal cual.
¿Indicar en su lugar el juego que contiene? Zanku lo extraerá en cada inicio y conservará sus partidas. Guarda para mantener el cambio.</numerusform>
            <numerusform>%n juegos de esta lista indican un archivo .7z o .rar como archivo: el emulador recibe el archivo comprimido tal cual.
¿Indicar en su lugar el juego que contiene cada uno? Zanku lo extraerá en cada inicio y conservará sus partidas. Guarda para mantener el cambio.</numerusform>
        </translation>
    </message>
    <message>
        <source>Edit Configuration</source>
        <translation>Editar configuración</translation>
    </message>
    <message>
        <source>&amp;Add New</source>
        <translation>&amp;Añadir nuevo</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Volver</translation>
    </message>
    <message>
        <source>Choose an Emulator</source>
        <translation>Elige un emulador</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>the ROM list of %1</source>
        <translation>la lista de ROMs de %1</translation>
    </message>
    <message>
        <source>the emulator list</source>
        <translation>la lista de emuladores</translation>
    </message>
    <message>
        <source>There are unsaved changes to the ROM list of %1.
Drop them and show the list of %2?</source>
        <translation>Hay cambios sin guardar en la lista de ROMs de %1.
¿Descartarlos y mostrar la lista de %2?</translation>
    </message>
    <message>
        <source>Total Rom Listed :  %1</source>
        <translation>Total de ROMs :  %1</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened.

Reload it? The edits made here would be lost; No keeps them, unsaved.</source>
        <translation>Otro programa ha modificado %1 desde que se abrió.

¿Volver a cargarlo? Se perderían los cambios hechos aquí; No los conserva, sin guardar.</translation>
    </message>
    <message>
        <source>%1 was changed by the import since it was opened. Your edits are kept; a Save will offer to reload it first.</source>
        <translation>La importación ha modificado %1 desde que se abrió. Tus cambios se conservan; al guardar se ofrecerá volver a cargarlo primero.</translation>
    </message>
    <message>
        <source>the ROM lists</source>
        <translation>las listas de ROMs</translation>
    </message>
    <message>
        <source>There are unsaved changes to %1.
Drop them and edit %2 instead?</source>
        <translation>Hay cambios sin guardar en %1.
¿Descartarlos y editar %2 en su lugar?</translation>
    </message>
    <message>
        <source>There are unsaved changes to %1.
Save them before closing?</source>
        <translation>Hay cambios sin guardar en %1.
¿Guardarlos antes de cerrar?</translation>
    </message>
</context>
<context>
    <name>OptionsNewFrm</name>
    <message>
        <source>The snapshot folder: &lt;File without its extension&gt;.jpg, .gif, .bmp, .png or .webp, and inside it the artwork sets&apos; folders Named_Boxarts, Named_Titles and Named_Snaps (by the game&apos;s Name), covers, titlescreens and screenshots (by its File).</source>
        <translation>La carpeta de capturas: &lt;archivo sin su extensión&gt;.jpg, .gif, .bmp, .png o .webp, y dentro de ella las carpetas de los conjuntos de imágenes Named_Boxarts, Named_Titles y Named_Snaps (por el nombre del juego), covers, titlescreens y screenshots (por su archivo).</translation>
    </message>
    <message>
        <source>Edit Configuration</source>
        <translation>Editar configuración</translation>
    </message>
    <message>
        <source>Choose Game Type</source>
        <translation>Elige el tipo de juego</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Edit Emulator Properties</source>
        <translation>Editar propiedades del emulador</translation>
    </message>
    <message>
        <source>Edit Game Properties</source>
        <translation>Editar propiedades del juego</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Choose the folder that holds this emulator&apos;s games</source>
        <translation>Elige la carpeta que contiene los juegos de este emulador</translation>
    </message>
</context>
<context>
    <name>RecentMenu</name>
    <message>
        <source>&amp;Recently Played</source>
        <translation>Jugados &amp;recientemente</translation>
    </message>
</context>
<context>
    <name>ShowMenu</name>
    <message>
        <source>Rename Collection</source>
        <translation>Renombrar colección</translation>
    </message>
    <message>
        <source>New name of the collection:</source>
        <translation>Nuevo nombre de la colección:</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>There is a collection named %1 already.</source>
        <translation>Ya existe una colección llamada %1.</translation>
    </message>
    <message>
        <source>Delete Collection</source>
        <translation>Eliminar colección</translation>
    </message>
    <message>
        <source>Delete the collection %1? Its games stay in the library.</source>
        <translation>¿Eliminar la colección %1? Sus juegos se quedan en la biblioteca.</translation>
    </message>
    <message>
        <source>&amp;Show</source>
        <translation>&amp;Mostrar</translation>
    </message>
    <message>
        <source>&amp;All Games</source>
        <translation>&amp;Todos los juegos</translation>
    </message>
    <message>
        <source>&amp;Favourites</source>
        <translation>&amp;Favoritos</translation>
    </message>
    <message>
        <source>Re&amp;name Collection...</source>
        <translation>&amp;Renombrar colección...</translation>
    </message>
    <message>
        <source>&amp;Delete Collection...</source>
        <translation>&amp;Eliminar colección...</translation>
    </message>
</context>
<context>
    <name>SnapshotFrame</name>
    <message>
        <source>SnapShot</source>
        <translation>Captura</translation>
    </message>
    <message>
        <source>Picture Not Available</source>
        <translation>Imagen no disponible</translation>
    </message>
</context>
<context>
    <name>StartupOptions</name>
    <message>
        <source>--launch needs an emulator and a game</source>
        <translation>--launch necesita un emulador y un juego</translation>
    </message>
    <message>
        <source>--library needs a folder</source>
        <translation>--library necesita una carpeta</translation>
    </message>
    <message>
        <source>the library folder &quot;%1&quot; has a name that is not valid UTF-8; Zanku cannot name the files in it</source>
        <translation>la carpeta de la biblioteca «%1» tiene un nombre que no es UTF-8 válido; Zanku no puede dar nombre a los archivos que contiene</translation>
    </message>
    <message>
        <source>cannot create the library folder &quot;%1&quot;</source>
        <translation>no se puede crear la carpeta de la biblioteca «%1»</translation>
    </message>
    <message>
        <source>cannot enter the library folder &quot;%1&quot;</source>
        <translation>no se puede entrar en la carpeta de la biblioteca «%1»</translation>
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
        <translation>Uso: zanku [--library DIR] [--no-gamepad] [--full-screen] [--launch EMULADOR JUEGO]
     zanku --install-desktop-entry
Un front-end para varios emuladores de juegos: todos los juegos de todos los emuladores
en una lista, iniciados con un doble clic.

  --library DIR  guardar Zanku.ini y las listas de ROMs en DIR e iniciar allí; DIR se
                 crea si no existe; @data representa la carpeta de datos del usuario
                 (%1)
  --no-gamepad   no dejar que los mandos de juego manejen la lista
  --full-screen  abrir a pantalla completa, en la vista hecha para un televisor y un mando
  --install-desktop-entry
                 añadir este Zanku al menú de aplicaciones (para una copia desempaquetada,
                 no instalada) y salir
  --launch EMULADOR JUEGO
                 iniciar ese juego (los nombres como los muestra la lista) sin la
                 ventana; terminar con el código de salida del emulador
  --help         mostrar esta ayuda y salir
  --version      mostrar la versión y salir

Sin --library, el directorio del programa es la carpeta en la que se inicia Zanku.
</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>no se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>Zanku is in the menu: %1</source>
        <translation>Zanku está en el menú: %1</translation>
    </message>
</context>
<context>
    <name>SteamAdd</name>
    <message>
        <source>Games added to Steam: %1.</source>
        <translation>Juegos añadidos a Steam: %1.</translation>
    </message>
    <message>
        <source>Games updated in Steam: %1.</source>
        <translation>Juegos actualizados en Steam: %1.</translation>
    </message>
    <message>
        <source>Steam users: %1.</source>
        <translation>Usuarios de Steam: %1.</translation>
    </message>
    <message>
        <source>Problems:</source>
        <translation>Problemas:</translation>
    </message>
    <message>
        <source>Steam shows them once it starts again.</source>
        <translation>Steam los mostrará cuando vuelva a iniciarse.</translation>
    </message>
    <message>
        <source>Add to Steam</source>
        <translation>Añadir a Steam</translation>
    </message>
    <message>
        <source>The list shows no games to add.</source>
        <translation>La lista no muestra juegos que añadir.</translation>
    </message>
    <message>
        <source>Add every game the list shows (%1) to Steam?</source>
        <translation>¿Añadir a Steam todos los juegos que muestra la lista (%1)?</translation>
    </message>
    <message>
        <source>Add Shown Games to &amp;Steam...</source>
        <translation>Añadir los juegos mostrados a S&amp;team...</translation>
    </message>
</context>
<context>
    <name>ViewModes</name>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Lista</translation>
    </message>
    <message>
        <source>&amp;Covers</source>
        <translation>&amp;Portadas</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>Pantalla c&amp;ompleta</translation>
    </message>
</context>
<context>
    <name>zanku::LibraryMetadata</name>
    <message>
        <source>Game details read only up to line %1 of %2: %3. The games before it keep theirs.</source>
        <translation>Detalles de juegos leídos solo hasta la línea %1 de %2: %3. Los juegos anteriores conservan los suyos.</translation>
    </message>
</context>
</TS>
