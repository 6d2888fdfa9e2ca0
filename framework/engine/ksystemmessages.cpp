// The built-in system messages: storage, remote and disc messages in each language, so
// that a system dialog can be shown with no language file loaded. Texts are 8-bit, in the
// character set of the game's fonts (ISO 8859-1).
#include "ksystemmessages.h"

#include <framework/ktext.h>

namespace Kelvo_lib {

namespace {

// Columns of a message: the languages that have texts of their own.
enum Column { UK, FR, IT, DE, ES, NL, kNumColumns };

struct SystemMessage {
    int id;
    const char* text[kNumColumns];
};

// The ids that some part of the game shows, or whose role on the console is fixed; the
// others (other consoles' storage and controllers) have no text.
constexpr SystemMessage kMessages[] = {
    {48,
     {"Continue Without Saving", "Continuer sans sauvegarder", "Continua senza salvare",
      "Ohne Speichern fortfahren", "Continuar sin guardar", "Doorgaan zonder op te slaan"}},
    {50,
     {"Delete File", "Effacer le fichier", "Cancella file", "Datei l\xf6schen", "Borrar archivo",
      "Bestand wissen"}},
    {59,
     {"There is no more available space in Wii system memory",
      "Il n'y a plus d'espace libre dans la m\xe9moire de la console Wii",
      "Non c'\xe8 pi\xf9 spazio disponibile nella memoria della console Wii",
      "Im Speicher der Wii-Konsole ist kein Platz mehr frei",
      "No queda espacio libre en la memoria de la consola Wii",
      "Er is geen vrije ruimte meer in het interne geheugen van de Wii"}},
    {60,
     {"Refer to the Wii operations manual for further information",
      "Consultez le mode d'emploi de la console Wii pour plus d'informations",
      "Per ulteriori informazioni, consulta il manuale di istruzioni della console Wii",
      "Weitere Informationen findest du in der Bedienungsanleitung der Wii-Konsole",
      "Consulta el manual de instrucciones de la consola Wii para m\xe1s informaci\xf3n",
      "Raadpleeg de handleiding van de Wii voor meer informatie"}},
    {61,
     {"Create failed",
      "\xc9"
      "chec de la cr\xe9"
      "ation",
      "Creazione non riuscita", "Erstellen fehlgeschlagen", "Error al crear", "Aanmaken mislukt"}},
    {62,
     {"Unable to create save file on system memory, game cannot be saved",
      "Impossible de cr\xe9"
      "er le fichier de sauvegarde dans la m\xe9moire de la console. La partie ne pourra pas "
      "\xeatre sauvegard\xe9"
      "e.",
      "Impossibile creare il file di salvataggio nella memoria della console. Non sar\xe0 "
      "possibile salvare i progressi.",
      "Die Speicherdatei konnte im Systemspeicher nicht erstellt werden. Das Spiel kann nicht "
      "gespeichert werden.",
      "No se ha podido crear el archivo de guardado en la memoria de la consola. No se podr\xe1 "
      "guardar la partida.",
      "Het opslagbestand kan niet in het systeemgeheugen worden aangemaakt. Het spel kan niet "
      "worden opgeslagen."}},
    {63,
     {"Load failed",
      "\xc9"
      "chec du chargement",
      "Caricamento non riuscito", "Laden fehlgeschlagen", "Error al cargar", "Laden mislukt"}},
    {64,
     {"This file cannot be used becuase the data is corrupted",
      "Ce fichier est inutilisable car les donn\xe9"
      "es sont corrompues.",
      "Impossibile utilizzare il file perch\xe9 i dati sono danneggiati.",
      "Diese Datei kann nicht verwendet werden, da die Daten besch\xe4"
      "digt sind.",
      "No se puede usar este archivo porque los datos est\xe1n da\xf1"
      "ados.",
      "Dit bestand kan niet worden gebruikt omdat de gegevens beschadigd zijn."}},
    {65,
     {"Save failed",
      "\xc9"
      "chec de la sauvegarde",
      "Salvataggio non riuscito", "Speichern fehlgeschlagen", "Error al guardar",
      "Opslaan mislukt"}},
    {66,
     {"This file cannot be used becuase the data is corrupted",
      "Ce fichier est inutilisable car les donn\xe9"
      "es sont corrompues.",
      "Impossibile utilizzare il file perch\xe9 i dati sono danneggiati.",
      "Diese Datei kann nicht verwendet werden, da die Daten besch\xe4"
      "digt sind.",
      "No se puede usar este archivo porque los datos est\xe1n da\xf1"
      "ados.",
      "Dit bestand kan niet worden gebruikt omdat de gegevens beschadigd zijn."}},
    {67,
     {"There is not enough available space in the Wii System Memory.",
      "Il n'y a pas assez d'espace libre dans la m\xe9moire de la console Wii.",
      "Non c'\xe8 abbastanza spazio disponibile nella memoria della console Wii.",
      "Im Speicher der Wii-Konsole ist nicht gen\xfcgend Platz frei.",
      "No hay suficiente espacio libre en la memoria de la consola Wii.",
      "Er is niet genoeg vrije ruimte in het interne geheugen van de Wii."}},
    {68,
     {"There is not enough available space in the Wii System Memory. $(NUMBER) blocks of free "
      "space are needed to save.",
      "Il n'y a pas assez d'espace libre dans la m\xe9moire de la console Wii. Il faut $(NUMBER) "
      "blocs libres pour sauvegarder.",
      "Non c'\xe8 abbastanza spazio disponibile nella memoria della console Wii. Per salvare sono "
      "necessari $(NUMBER) blocchi liberi.",
      "Im Speicher der Wii-Konsole ist nicht gen\xfcgend Platz frei. Zum Speichern werden "
      "$(NUMBER) freie Bl\xf6"
      "cke ben\xf6tigt.",
      "No hay suficiente espacio libre en la memoria de la consola Wii. Para guardar se necesitan "
      "$(NUMBER) bloques libres.",
      "Er is niet genoeg vrije ruimte in het interne geheugen van de Wii. Om op te slaan zijn "
      "$(NUMBER) vrije blokken nodig."}},
    {69, {"Saving", "Sauvegarde", "Salvataggio", "Speichern", "Guardando", "Opslaan"}},
    {70,
     {"Creating save file",
      "Cr\xe9"
      "ation du fichier de sauvegarde",
      "Creazione del file di salvataggio", "Speicherdatei wird erstellt",
      "Creando archivo de guardado", "Opslagbestand wordt aangemaakt"}},
    {71, {"Loading", "Chargement", "Caricamento", "Laden", "Cargando", "Laden"}},
    {72,
     {"Loading game data",
      "Chargement des donn\xe9"
      "es de jeu",
      "Caricamento dei dati di gioco", "Spieldaten werden geladen", "Cargando datos de juego",
      "Spelgegevens worden geladen"}},
    {73, {"Saving", "Sauvegarde", "Salvataggio", "Speichern", "Guardando", "Opslaan"}},
    {74,
     {"Saving game data",
      "Sauvegarde des donn\xe9"
      "es de jeu",
      "Salvataggio dei dati di gioco", "Spieldaten werden gespeichert", "Guardando datos de juego",
      "Spelgegevens worden opgeslagen"}},
    {75,
     {"Saving. Do not touch the POWER or RESET Buttons.",
      "Sauvegarde en cours. Ne touchez pas aux boutons POWER et RESET.",
      "Salvataggio in corso. Non toccare i pulsanti POWER e RESET.",
      "Speichervorgang l\xe4uft. Bitte die POWER- und RESET-Kn\xf6pfe nicht ber\xfchren.",
      "Guardando. No toques los botones POWER ni RESET.",
      "Bezig met opslaan. Raak de POWER- en RESET-knop niet aan."}},
    {76,
     {"There is not enough available space in the Wii System Memory. Create 1 block of free space "
      "by either moving data to an SD Card or deleting data on the Data Management Screen.",
      "Il n'y a pas assez d'espace libre dans la m\xe9moire de la console Wii. Lib\xe9rez 1 bloc "
      "en d\xe9pla\xe7"
      "ant des donn\xe9"
      "es vers une carte SD ou en effa\xe7"
      "ant des donn\xe9"
      "es dans l'\xe9"
      "cran de gestion des donn\xe9"
      "es.",
      "Non c'\xe8 abbastanza spazio disponibile nella memoria della console Wii. Libera 1 blocco "
      "spostando dati su una scheda SD o cancellando dati dalla schermata di gestione dati.",
      "Im Speicher der Wii-Konsole ist nicht gen\xfcgend Platz frei. Schaffe 1 freien Block, indem "
      "du Daten auf eine SD-Karte verschiebst oder in der Datenverwaltung Daten l\xf6schst.",
      "No hay suficiente espacio libre en la memoria de la consola Wii. Libera 1 bloque moviendo "
      "datos a una tarjeta SD o borrando datos en la pantalla de gesti\xf3n de datos.",
      "Er is niet genoeg vrije ruimte in het interne geheugen van de Wii. Maak 1 blok vrij door "
      "gegevens naar een SD-kaart te verplaatsen of door gegevens te wissen in het scherm "
      "Gegevensbeheer."}},
    {77,
     {"There is not enough available space in the Wii System Memory. 5 blocks of free space are "
      "needed to save.",
      "Il n'y a pas assez d'espace libre dans la m\xe9moire de la console Wii. Il faut 5 blocs "
      "libres pour sauvegarder.",
      "Non c'\xe8 abbastanza spazio disponibile nella memoria della console Wii. Per salvare sono "
      "necessari 5 blocchi liberi.",
      "Im Speicher der Wii-Konsole ist nicht gen\xfcgend Platz frei. Zum Speichern werden 5 freie "
      "Bl\xf6"
      "cke ben\xf6tigt.",
      "No hay suficiente espacio libre en la memoria de la consola Wii. Para guardar se necesitan "
      "5 bloques libres.",
      "Er is niet genoeg vrije ruimte in het interne geheugen van de Wii. Om op te slaan zijn 5 "
      "vrije blokken nodig."}},
    {78,
     {"Continue without saving", "Continuer sans sauvegarder", "Continua senza salvare",
      "Ohne Speichern fortfahren", "Continuar sin guardar", "Doorgaan zonder op te slaan"}},
    {79,
     {"Return to the Wii Menu Screen", "Revenir au Menu Wii", "Torna al Menu Wii",
      "Zur\xfc"
      "ck zum Wii-Men\xfc",
      "Volver al Men\xfa de Wii", "Terug naar het Wii-menu"}},
    {80,
     {"There is not enough available space in the Wii System Memory. Either move data to an SD "
      "Card or delete data on the Data Management Screen.",
      "Il n'y a pas assez d'espace libre dans la m\xe9moire de la console Wii. D\xe9placez des "
      "donn\xe9"
      "es vers une carte SD ou effacez des donn\xe9"
      "es dans l'\xe9"
      "cran de gestion des donn\xe9"
      "es.",
      "Non c'\xe8 abbastanza spazio disponibile nella memoria della console Wii. Sposta dati su "
      "una scheda SD o cancella dati dalla schermata di gestione dati.",
      "Im Speicher der Wii-Konsole ist nicht gen\xfcgend Platz frei. Verschiebe Daten auf eine "
      "SD-Karte oder l\xf6sche Daten in der Datenverwaltung.",
      "No hay suficiente espacio libre en la memoria de la consola Wii. Mueve datos a una tarjeta "
      "SD o borra datos en la pantalla de gesti\xf3n de datos.",
      "Er is niet genoeg vrije ruimte in het interne geheugen van de Wii. Verplaats gegevens naar "
      "een SD-kaart of wis gegevens in het scherm Gegevensbeheer."}},
    {81,
     {"Continue without saving", "Continuer sans sauvegarder", "Continua senza salvare",
      "Ohne Speichern fortfahren", "Continuar sin guardar", "Doorgaan zonder op te slaan"}},
    {82,
     {"Return to the Wii Menu Screen", "Revenir au Menu Wii", "Torna al Menu Wii",
      "Zur\xfc"
      "ck zum Wii-Men\xfc",
      "Volver al Men\xfa de Wii", "Terug naar het Wii-menu"}},
    {83,
     {"There is no more available space in the Wii System Memory. Refer to the Wii Operations "
      "Manual for further information.",
      "Il n'y a plus d'espace libre dans la m\xe9moire de la console Wii. Consultez le mode "
      "d'emploi de la console Wii pour plus d'informations.",
      "Non c'\xe8 pi\xf9 spazio disponibile nella memoria della console Wii. Per ulteriori "
      "informazioni, consulta il manuale di istruzioni della console Wii.",
      "Im Speicher der Wii-Konsole ist kein Platz mehr frei. Weitere Informationen findest du in "
      "der Bedienungsanleitung der Wii-Konsole.",
      "No queda espacio libre en la memoria de la consola Wii. Consulta el manual de instrucciones "
      "de la consola Wii para m\xe1s informaci\xf3n.",
      "Er is geen vrije ruimte meer in het interne geheugen van de Wii. Raadpleeg de handleiding "
      "van de Wii voor meer informatie."}},
    {84,
     {"There is no more available space in the Wii System Memory. Refer to the Wii Operations "
      "Manual for further information.",
      "Il n'y a plus d'espace libre dans la m\xe9moire de la console Wii. Consultez le mode "
      "d'emploi de la console Wii pour plus d'informations.",
      "Non c'\xe8 pi\xf9 spazio disponibile nella memoria della console Wii. Per ulteriori "
      "informazioni, consulta il manuale di istruzioni della console Wii.",
      "Im Speicher der Wii-Konsole ist kein Platz mehr frei. Weitere Informationen findest du in "
      "der Bedienungsanleitung der Wii-Konsole.",
      "No queda espacio libre en la memoria de la consola Wii. Consulta el manual de instrucciones "
      "de la consola Wii para m\xe1s informaci\xf3n.",
      "Er is geen vrije ruimte meer in het interne geheugen van de Wii. Raadpleeg de handleiding "
      "van de Wii voor meer informatie."}},
    {85,
     {"This data is corrupted and cannot be used.",
      "Ces donn\xe9"
      "es sont corrompues et ne peuvent pas \xeatre utilis\xe9"
      "es.",
      "Questi dati sono danneggiati e non possono essere utilizzati.",
      "Diese Daten sind besch\xe4"
      "digt und k\xf6nnen nicht verwendet werden.",
      "Estos datos est\xe1n da\xf1"
      "ados y no se pueden usar.",
      "Deze gegevens zijn beschadigd en kunnen niet worden gebruikt."}},
    {86,
     {"Continue without saving/loading", "Continuer sans sauvegarder/charger",
      "Continua senza salvare/caricare", "Ohne Speichern/Laden fortfahren",
      "Continuar sin guardar/cargar", "Doorgaan zonder opslaan/laden"}},
    {87,
     {"Delete file", "Effacer le fichier", "Cancella file", "Datei l\xf6schen", "Borrar archivo",
      "Bestand wissen"}},
    {88,
     {"The Wii System Memory has been corrupted. Refer to the Wii Operations Manual for further "
      "instructions.",
      "La m\xe9moire de la console Wii est corrompue. Consultez le mode d'emploi de la console Wii "
      "pour plus d'instructions.",
      "La memoria della console Wii \xe8 danneggiata. Per ulteriori istruzioni, consulta il "
      "manuale di istruzioni della console Wii.",
      "Der Speicher der Wii-Konsole ist besch\xe4"
      "digt. Weitere Hinweise findest du in der Bedienungsanleitung der Wii-Konsole.",
      "La memoria de la consola Wii est\xe1 da\xf1"
      "ada. Consulta el manual de instrucciones de la consola Wii para m\xe1s instrucciones.",
      "Het interne geheugen van de Wii is beschadigd. Raadpleeg de handleiding van de Wii voor "
      "verdere instructies."}},
    {89,
     {"Saving. Do not turn the power off or press RESET.",
      "Sauvegarde en cours. N'\xe9teignez pas la console et n'appuyez pas sur RESET.",
      "Salvataggio in corso. Non spegnere la console e non premere RESET.",
      "Speichervorgang l\xe4uft. Bitte die Konsole nicht ausschalten und RESET nicht dr\xfc"
      "cken.",
      "Guardando. No apagues la consola ni pulses RESET.",
      "Bezig met opslaan. Zet de console niet uit en druk niet op RESET."}},
    {90,
     {"Saved data can be organised on the Data Management Screen of the Wii Menu.",
      "Les donn\xe9"
      "es sauvegard\xe9"
      "es peuvent \xeatre g\xe9r\xe9"
      "es dans l'\xe9"
      "cran de gestion des donn\xe9"
      "es du Menu Wii.",
      "I dati salvati possono essere gestiti dalla schermata di gestione dati del Menu Wii.",
      "Gespeicherte Daten kannst du in der Datenverwaltung des Wii-Men\xfcs ordnen.",
      "Los datos guardados se pueden organizar en la pantalla de gesti\xf3n de datos del Men\xfa "
      "de Wii.",
      "Opgeslagen gegevens kunnen worden beheerd in het scherm Gegevensbeheer van het Wii-menu."}},
    {91,
     {"Could not write to/read from Wii System Memory. For details, please read the Wii Operations "
      "Manual.",
      "Impossible d'\xe9"
      "crire dans la m\xe9moire de la console Wii ou de la lire. Pour plus de d\xe9tails, "
      "consultez le mode d'emploi de la console Wii.",
      "Impossibile scrivere o leggere nella memoria della console Wii. Per maggiori dettagli, "
      "consulta il manuale di istruzioni della console Wii.",
      "Der Speicher der Wii-Konsole konnte nicht beschrieben oder gelesen werden. Einzelheiten "
      "findest du in der Bedienungsanleitung der Wii-Konsole.",
      "No se ha podido escribir en la memoria de la consola Wii ni leerla. Para m\xe1s detalles, "
      "consulta el manual de instrucciones de la consola Wii.",
      "Het interne geheugen van de Wii kan niet worden beschreven of gelezen. Raadpleeg de "
      "handleiding van de Wii voor details."}},
    {92,
     {"The <X> is not connected properly. Please connect it to the Wii Remote again.",
      "Le <X> n'est pas bien branch\xe9. Veuillez le rebrancher \xe0 la t\xe9l\xe9"
      "commande Wii.",
      "Il <X> non \xe8 collegato correttamente. Collegalo di nuovo al telecomando Wii.",
      "Der <X> ist nicht richtig angeschlossen. Bitte schlie\xdf"
      "e ihn erneut an die Wii-Fernbedienung an.",
      "El <X> no est\xe1 bien conectado. Vuelve a conectarlo al mando de Wii.",
      "De <X> is niet goed aangesloten. Sluit hem opnieuw aan op de Wii-afstandsbediening."}},
    {93,
     {"Please connect the <X> to the Wii Remote.",
      "Veuillez brancher le <X> \xe0 la t\xe9l\xe9"
      "commande Wii.",
      "Collega il <X> al telecomando Wii.",
      "Bitte schlie\xdf"
      "e den <X> an die Wii-Fernbedienung an.",
      "Conecta el <X> al mando de Wii.", "Sluit de <X> aan op de Wii-afstandsbediening."}},
    {94,
     {"This extension controller cannot be used with this game. Please disconnect it from the Wii "
      "Remote.",
      "Cet accessoire ne peut pas \xeatre utilis\xe9 avec ce jeu. Veuillez le d\xe9"
      "brancher de la t\xe9l\xe9"
      "commande Wii.",
      "Questo accessorio non pu\xf2 essere utilizzato con questo gioco. Scollegalo dal telecomando "
      "Wii.",
      "Dieses Erweiterungsger\xe4t kann mit diesem Spiel nicht verwendet werden. Bitte trenne es "
      "von der Wii-Fernbedienung.",
      "Este accesorio no se puede usar con este juego. Descon\xe9"
      "ctalo del mando de Wii.",
      "Deze uitbreiding kan niet met dit spel worden gebruikt. Koppel hem los van de "
      "Wii-afstandsbediening."}},
    {95,
     {"An error has occurred with the Wii Remote. Refer to the Wii Operations Manual for further "
      "information.",
      "Une erreur s'est produite avec la t\xe9l\xe9"
      "commande Wii. Consultez le mode d'emploi de la console Wii pour plus d'informations.",
      "Si \xe8 verificato un errore con il telecomando Wii. Per ulteriori informazioni, consulta "
      "il manuale di istruzioni della console Wii.",
      "Bei der Wii-Fernbedienung ist ein Fehler aufgetreten. Weitere Informationen findest du in "
      "der Bedienungsanleitung der Wii-Konsole.",
      "Se ha producido un error con el mando de Wii. Consulta el manual de instrucciones de la "
      "consola Wii para m\xe1s informaci\xf3n.",
      "Er is een fout opgetreden met de Wii-afstandsbediening. Raadpleeg de handleiding van de Wii "
      "voor meer informatie."}},
    {96,
     {"The data in the Wii Remote's memory is corrupted.",
      "Les donn\xe9"
      "es de la m\xe9moire de la t\xe9l\xe9"
      "commande Wii sont corrompues.",
      "I dati nella memoria del telecomando Wii sono danneggiati.",
      "Die Daten im Speicher der Wii-Fernbedienung sind besch\xe4"
      "digt.",
      "Los datos de la memoria del mando de Wii est\xe1n da\xf1"
      "ados.",
      "De gegevens in het geheugen van de Wii-afstandsbediening zijn beschadigd."}},
    {97,
     {"The Wii Remote's memory holds data of another game. Overwrite it with data of <Game Title>?",
      "La m\xe9moire de la t\xe9l\xe9"
      "commande Wii contient des donn\xe9"
      "es d'un autre jeu. Les remplacer par des donn\xe9"
      "es de <Game Title> ?",
      "La memoria del telecomando Wii contiene dati di un altro gioco. Sovrascriverli con i dati "
      "di <Game Title>?",
      "Der Speicher der Wii-Fernbedienung enth\xe4lt Daten eines anderen Spiels. Mit Daten von "
      "<Game Title> \xfc"
      "berschreiben?",
      "La memoria del mando de Wii contiene datos de otro juego. \xbfSobrescribirlos con datos de "
      "<Game Title>?",
      "Het geheugen van de Wii-afstandsbediening bevat gegevens van een ander spel. Overschrijven "
      "met gegevens van <Game Title>?"}},
    {98,
     {"The Wii Remote's memory holds other data and cannot be used.",
      "La m\xe9moire de la t\xe9l\xe9"
      "commande Wii contient d'autres donn\xe9"
      "es et ne peut pas \xeatre utilis\xe9"
      "e.",
      "La memoria del telecomando Wii contiene altri dati e non pu\xf2 essere utilizzata.",
      "Der Speicher der Wii-Fernbedienung enth\xe4lt andere Daten und kann nicht verwendet werden.",
      "La memoria del mando de Wii contiene otros datos y no se puede usar.",
      "Het geheugen van de Wii-afstandsbediening bevat andere gegevens en kan niet worden "
      "gebruikt."}},
    {99,
     {"The Wii Remote's memory holds no data of <Game Title>.",
      "La m\xe9moire de la t\xe9l\xe9"
      "commande Wii ne contient aucune donn\xe9"
      "e de <Game Title>.",
      "La memoria del telecomando Wii non contiene dati di <Game Title>.",
      "Der Speicher der Wii-Fernbedienung enth\xe4lt keine Daten von <Game Title>.",
      "La memoria del mando de Wii no contiene datos de <Game Title>.",
      "Het geheugen van de Wii-afstandsbediening bevat geen gegevens van <Game Title>."}},
    {100,
     {"The batteries of the Wii Remote are running low.",
      "Les piles de la t\xe9l\xe9"
      "commande Wii sont presque vides.",
      "Le batterie del telecomando Wii sono quasi scariche.",
      "Die Batterien der Wii-Fernbedienung sind fast leer.",
      "Las pilas del mando de Wii se est\xe1n agotando.",
      "De batterijen van de Wii-afstandsbediening zijn bijna leeg."}},
    {101,
     {"Communications with the Wii Remote have been interrupted.",
      "La communication avec la t\xe9l\xe9"
      "commande Wii a \xe9t\xe9 interrompue.",
      "La comunicazione con il telecomando Wii \xe8 stata interrotta.",
      "Die Verbindung zur Wii-Fernbedienung wurde unterbrochen.",
      "Se ha interrumpido la comunicaci\xf3n con el mando de Wii.",
      "De verbinding met de Wii-afstandsbediening is verbroken."}},
    {102,
     {"Press the 1 and 2 Buttons on the Wii Remote at the same time.",
      "Appuyez simultan\xe9ment sur les boutons 1 et 2 de la t\xe9l\xe9"
      "commande Wii.",
      "Premi contemporaneamente i pulsanti 1 e 2 del telecomando Wii.",
      "Dr\xfc"
      "cke gleichzeitig die Kn\xf6pfe 1 und 2 der Wii-Fernbedienung.",
      "Pulsa a la vez los botones 1 y 2 del mando de Wii.",
      "Druk tegelijk op de knoppen 1 en 2 van de Wii-afstandsbediening."}},
    {103,
     {"Please insert the Puzzles Game Disc.", "Veuillez ins\xe9rer le disque de jeu Puzzles.",
      "Inserisci il disco di gioco Puzzles.", "Bitte schiebe die Puzzles-Disc ein.",
      "Inserta el disco de juego Puzzles.", "Plaats de Puzzles spel-disc."}},
    {104,
     {"Please insert the Puzzles Game Disc.", "Veuillez ins\xe9rer le disque de jeu Puzzles.",
      "Inserisci il disco di gioco Puzzles.", "Bitte schiebe die Puzzles-Disc ein.",
      "Inserta el disco de juego Puzzles.", "Plaats de Puzzles spel-disc."}},
    {105,
     {"The Game Disc could not be read. Please read the Wii Operations Manual for more "
      "information.",
      "Impossible de lire le disque de jeu. Consultez le mode d'emploi de la console Wii pour plus "
      "d'informations.",
      "Impossibile leggere il disco di gioco. Per ulteriori informazioni, consulta il manuale di "
      "istruzioni della console Wii.",
      "Die Spiel-Disc konnte nicht gelesen werden. Weitere Informationen findest du in der "
      "Bedienungsanleitung der Wii-Konsole.",
      "No se ha podido leer el disco de juego. Consulta el manual de instrucciones de la consola "
      "Wii para m\xe1s informaci\xf3n.",
      "De spel-disc kan niet worden gelezen. Raadpleeg de handleiding van de Wii voor meer "
      "informatie."}},
    {106,
     {"An error has occurred. Press the Eject Button, remove the Game Disc and turn the power off. "
      "Please read the Wii Operations Manual for more information.",
      "Une erreur s'est produite. Appuyez sur le bouton d'\xe9jection, retirez le disque de jeu et "
      "\xe9teignez la console. Consultez le mode d'emploi de la console Wii pour plus "
      "d'informations.",
      "Si \xe8 verificato un errore. Premi il pulsante di espulsione, estrai il disco di gioco e "
      "spegni la console. Per ulteriori informazioni, consulta il manuale di istruzioni della "
      "console Wii.",
      "Ein Fehler ist aufgetreten. Dr\xfc"
      "cke den Auswurfknopf, entnimm die Spiel-Disc und schalte die Konsole aus. Weitere "
      "Informationen findest du in der Bedienungsanleitung der Wii-Konsole.",
      "Se ha producido un error. Pulsa el bot\xf3n de expulsi\xf3n, saca el disco de juego y apaga "
      "la consola. Consulta el manual de instrucciones de la consola Wii para m\xe1s "
      "informaci\xf3n.",
      "Er is een fout opgetreden. Druk op de uitwerpknop, verwijder de spel-disc en zet de console "
      "uit. Raadpleeg de handleiding van de Wii voor meer informatie."}},
    {107,
     {"Please insert Disc <N> of <Game Title>.",
      "Veuillez ins\xe9rer le disque <N> de <Game Title>.",
      "Inserisci il disco <N> di <Game Title>.", "Bitte schiebe Disc <N> von <Game Title> ein.",
      "Inserta el disco <N> de <Game Title>.", "Plaats disc <N> van <Game Title>."}},
    {108,
     {"This is not Disc <N> of <Game Title>. Please insert Disc <N>.",
      "Ce n'est pas le disque <N> de <Game Title>. Veuillez ins\xe9rer le disque <N>.",
      "Questo non \xe8 il disco <N> di <Game Title>. Inserisci il disco <N>.",
      "Dies ist nicht Disc <N> von <Game Title>. Bitte schiebe Disc <N> ein.",
      "Este no es el disco <N> de <Game Title>. Inserta el disco <N>.",
      "Dit is niet disc <N> van <Game Title>. Plaats disc <N>."}},
    {109,
     {"Please remove this disc and insert Disc <N> of <Game Title>.",
      "Veuillez retirer ce disque et ins\xe9rer le disque <N> de <Game Title>.",
      "Estrai questo disco e inserisci il disco <N> di <Game Title>.",
      "Bitte entnimm diese Disc und schiebe Disc <N> von <Game Title> ein.",
      "Saca este disco e inserta el disco <N> de <Game Title>.",
      "Verwijder deze disc en plaats disc <N> van <Game Title>."}},
    {110,
     {"The Game Disc could not be read. Please insert Disc <N> of <Game Title> again.",
      "Impossible de lire le disque de jeu. Veuillez ins\xe9rer \xe0 nouveau le disque <N> de "
      "<Game Title>.",
      "Impossibile leggere il disco di gioco. Inserisci di nuovo il disco <N> di <Game Title>.",
      "Die Spiel-Disc konnte nicht gelesen werden. Bitte schiebe Disc <N> von <Game Title> erneut "
      "ein.",
      "No se ha podido leer el disco de juego. Vuelve a insertar el disco <N> de <Game Title>.",
      "De spel-disc kan niet worden gelezen. Plaats disc <N> van <Game Title> opnieuw."}},
    {127, {"YES", "OUI", "S\xcc", "JA", "S\xcd", "JA"}},
    {128, {"NO", "NON", "NO", "NEIN", "NO", "NEE"}},
    {143,
     {"Are you sure you want to return to the Wii Menu Screen?",
      "Voulez-vous vraiment revenir au Menu Wii ?", "Vuoi davvero tornare al Menu Wii?",
      "M\xf6"
      "chtest du wirklich zum Wii-Men\xfc zur\xfc"
      "ckkehren?",
      "\xbfSeguro que quieres volver al Men\xfa de Wii?",
      "Weet je zeker dat je wilt teruggaan naar het Wii-menu?"}},
    {144,
     {"(All unsaved data will be lost)",
      "(Toutes les donn\xe9"
      "es non sauvegard\xe9"
      "es seront perdues)",
      "(Tutti i dati non salvati andranno persi)",
      "(Alle nicht gespeicherten Daten gehen verloren)",
      "(Se perder\xe1n todos los datos no guardados)",
      "(Alle niet-opgeslagen gegevens gaan verloren)"}},
};

struct UsMessage {
    int id;
    const char* text;
};

// Where the North American English rows differ from the UK row.
constexpr UsMessage kUsMessages[] = {
    {79, "Return to the Wii Menu"},
    {82, "Return to the Wii Menu"},
    {143, "Are you sure you want to return to the Wii Menu?"},
};

Column ColumnOf(int language) {
    switch (language) {
    case KTEXT_FRENCH:
        return FR;
    case KTEXT_ITALIAN:
        return IT;
    case KTEXT_GERMAN:
        return DE;
    case KTEXT_SPANISH:
        return ES;
    case KTEXT_DUTCH:
        return NL;
    default:
        return UK;
    }
}

const char* UsText(int id) {
    for (const UsMessage& message : kUsMessages) {
        if (message.id == id) {
            return message.text;
        }
    }
    return nullptr;
}

} // namespace

const char* kSystemMessages::Text(int id, int language) {
    if (id < 0 || id >= kText::kNumSystemMessages || language < 0 ||
        language >= KTEXT_NUM_LANGUAGES) {
        return "";
    }
    if (language == KTEXT_NONE) {
        return "NO LANGUAGE SET";
    }
    const bool bNorthAmerican = language == KTEXT_US_ENGLISH || language == KTEXT_CANADIAN_ENGLISH;
    if (const char* usText = bNorthAmerican ? UsText(id) : nullptr) {
        return usText;
    }
    for (const SystemMessage& message : kMessages) {
        if (message.id == id) {
            return message.text[ColumnOf(language)];
        }
    }
    return "";
}

} // namespace Kelvo_lib
