// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ids of the string table's German texts; the English text of id N is N + 200
// (StringTable::get(id, languageOffset)). The menu's texts (100 to 199) are
// named by the menu table itself.
namespace korvin::str {

// Opening a book: the reading dialog and its failure.
inline constexpr int kReadingGroupText = 1;     // "Buch wird geöffnet. Bitte warten..."
inline constexpr int kNccNotOpened = 2;         // "Die ncc.html konnte nicht geöffnet werden!"
inline constexpr int kNccReadErrorCaption = 3;  // "Lesefehler - ncc.html"
inline constexpr int kReadingCaption = 4;       // "Buch öffnen..."

// Finding books on drives.
inline constexpr int kCreateList = 5;           // "Liste erstellen?"
inline constexpr int kBookSearchCaption = 6;    // "DAISY suchen..."
inline constexpr int kWithoutTitle = 7;         // "Ohne Titel"
inline constexpr int kOneBookFound = 8;         // "Ein Buch gefunden."
inline constexpr int kDriveColumn = 9;          // "LW"
inline constexpr int kDriveNameColumn = 10;     // "Bezeichnung"
inline constexpr int kDriveChoiceCaption = 11;  // "Bitte ein Laufwerk auswählen..."
inline constexpr int kSearching = 12;           // "Suche läuft. Bitte warten..."

// Go to page and the search term.
inline constexpr int kGotoPageCaption = 13;  // "Gehe zu Seite..."
inline constexpr int kGotoPagePrompt = 14;   // "Bitte geben Sie eine Seitenzahl ein ..."
inline constexpr int kSearchCaption = 15;    // "Suche..."
inline constexpr int kSearchPrompt = 16;     // "Bitte geben Sie hier einen Suchbegriff ein..."

// Information messages: play times.
inline constexpr int kTotalTime = 17;      // "Die Gesamtspieldauer beträgt "
inline constexpr int kElapsedTime = 18;    // "Die gehörte Spieldauer beträgt "
inline constexpr int kRemainingTime = 19;  // "Die restliche Spieldauer beträgt "
inline constexpr int kOneHour = 20;        // "eine Stunde"
inline constexpr int kHours = 21;          // "Stunden"
inline constexpr int kOneMinute = 22;      // "eine Minute"
inline constexpr int kMinutes = 23;        // "Minuten"
inline constexpr int kOneSecond = 24;      // "eine Sekunde"
inline constexpr int kSeconds = 25;        // "Sekunden"
inline constexpr int kAnd = 26;            // "und"

// Information messages: entries, levels, the current heading.
inline constexpr int kOneEntry = 27;     // "Ein Eintrag in diesem Buch."
inline constexpr int kEntries = 28;      // "Einträge in diesem Buch."
inline constexpr int kOneLevel = 29;     // "Dieses Buch ist in einer Hierarchieebene gegliedert."
inline constexpr int kLevelsStart = 30;  // "Dieses Buch ist in"
inline constexpr int kLevelsEnd = 31;    // "Hierarchieebenen gegliedert."
inline constexpr int kAtHeading = 32;    // "Sie befinden sich auf Überschrift"
inline constexpr int kOfTotal = 33;      // "von insgesamt"
inline constexpr int kAtLevel = 34;      // "Sie befinden sich auf Ebene"

// Search and pages.
inline constexpr int kSearchResult = 35;         // "Das Suchergebnis ist"
inline constexpr int kPageNotFound = 36;         // "Die angegebene Seite wurde nicht gefunden."
inline constexpr int kPageNotFoundCaption = 37;  // "Gehe zu Seite..."

// Changing the volume of a book.
inline constexpr int kBookChangeMessage = 38;  // "Der ausgewählte Titel ist nicht Bestandteil ..."
inline constexpr int kBookChangeCaption = 39;  // "Wechseln..."

// The reading's progress, the file choice, the program's own documents.
inline constexpr int kOf = 40;            // "von"
inline constexpr int kBrowseTitle = 41;   // "Ein Buch suchen..."
inline constexpr int kStartPage = 42;     // "/documents/html/start_de.html"
inline constexpr int kManualFolder = 43;  // "/documents/Manuals/DE/DAISY/"

// The heading levels and "where am I" (fillIn() puts the values in).
inline constexpr int kNoFurtherHeading = 44;  // "Keine weitere Überschrift der Ebene %i."
inline constexpr int kWhereHeading = 45;      // "Sie befinden sich auf Überschrift %i von %i: %s."
inline constexpr int kWherePage = 46;         // "Seite %s."
inline constexpr int kWhereInHeading = 47;    // "In dieser Überschrift gehört: %s; Rest: %s."
inline constexpr int kWhereInBook = 48;       // "Im Buch gehört: %s; Rest: %s."
inline constexpr int kWhereSleepTimer = 49;   // "Der Schlaf-Timer endet in %s."
inline constexpr int kWhereSleepAtEnd = 68;   // "Der Schlaf-Timer endet am Ende der Überschrift."
// Books of the newer kinds: DAISY 3 and zipped books.
inline constexpr int kBookFilter = 74;         // "DAISY-Bücher (ncc.html *.opf *.zip);;..."
inline constexpr int kPackageNotOpened = 75;   // "Die Paketdatei (*.opf) des Buches konnte nicht ..."
inline constexpr int kZipUnreadable = 76;      // "Die ZIP-Datei konnte nicht gelesen werden: ..."
inline constexpr int kZipUnsafe = 77;          // "Die ZIP-Datei wird nicht geöffnet: ... eine Verknüpfung."
inline constexpr int kZipTooLarge = 79;        // "... größer als 8 GB ... (eine ZIP-Bombe)."
inline constexpr int kZipNoBook = 86;          // "Die ZIP-Datei enthält kein DAISY-Buch: ..."
inline constexpr int kZipSeveralBooks = 87;    // "Die ZIP-Datei enthält mehr als ein Buch. ..."
inline constexpr int kZipTooManyMembers = 72;  // "... mehr als 100000 Einträge ..."
inline constexpr int kZipEncrypted = 73;       // "... verschlüsselt ..."
inline constexpr int kZipErrorCaption = 69;    // "Lesefehler - ZIP-Datei"
inline constexpr int kPackageReadErrorCaption = 71;  // "Lesefehler - Paketdatei"
inline constexpr int kNoBookToOpen = 70;       // "Kein DAISY-2.02- oder DAISY-3-Buch zu öffnen ..."

// Names of the window's controls, announced by the screen reader.
inline constexpr int kNameHeadingTree = 50;       // "Überschriften"
inline constexpr int kNamePlayer = 51;            // "Wiedergabe"
inline constexpr int kNamePlayPause = 52;         // "Wiedergabe/Pause"
inline constexpr int kNamePosition = 53;          // "Position"
inline constexpr int kNameTextView = 54;          // "Text"
inline constexpr int kNameGroupList = 55;         // "Gruppen"
inline constexpr int kNameBookmarkList = 56;      // "Lesezeichen"
inline constexpr int kNameSearchResultList = 57;  // "Suchergebnisse"
inline constexpr int kPlay = 58;                  // "Wiedergabe"
inline constexpr int kPause = 59;                 // "Pause"
inline constexpr int kRewind = 60;                // "Zurückspulen"
inline constexpr int kFastForward = 61;           // "Vorspulen"
inline constexpr int kVolume = 62;                // "Lautstärke"
inline constexpr int kSpeed = 63;                 // "Geschwindigkeit"

// The question before a link in a book's text is opened by another program.
inline constexpr int kExternalLinkCaption = 64;   // "Verweis öffnen"
inline constexpr int kExternalLinkQuestion = 65;  // "Dieser Verweis führt aus dem Buch hinaus ..."
inline constexpr int kYes = 66;                   // "&Ja"
inline constexpr int kNo = 67;                    // "&Nein"

// Why the desktop may not suspend or lock the machine while a book plays.
inline constexpr int kSleepInhibitReason = 78;  // "Ein Buch wird vorgelesen"

// Finding books on drives: the count ("%i" stands for it), the title of a
// heading without text when a list is made, the name of the home folder.
inline constexpr int kBooksFound = 80;          // "%i Bücher gefunden."
inline constexpr int kWithoutTitleShort = 81;   // "Ohne Titel" / "w/o title"
inline constexpr int kHomeFolder = 82;          // "Persönlicher Ordner"

// The buttons of the book-change message.
inline constexpr int kButtonAbort = 83;   // "&Abbrechen"
inline constexpr int kButtonRetry = 84;   // "&Wiederholen"
inline constexpr int kButtonIgnore = 85;  // "&Ignorieren"

// Buttons of the program's own dialogs.
inline constexpr int kOk = 88;                      // "OK"
inline constexpr int kCancel = 89;                  // "Abbrechen"

// The command line's texts.
inline constexpr int kUsage = 94;    // "Aufruf: korvin [--home ORDNER] [BUCH]..."
inline constexpr int kVersion = 95;  // "Korvin 2.0.1 – Abspielprogramm für DAISY-2.02- und DAISY-3-Hörbücher"
inline constexpr int kDesktopPartMissing = 96;  // "Das Fenster kann nicht geöffnet werden: der Desktop-Teil..."
// The command line's mistakes (after "korvin: ", the usage follows), and what
// ends the program before its window.
inline constexpr int kUnknownOption = 90;      // "unbekannte Angabe %s"
inline constexpr int kOptionWithoutValue = 91;  // "%s braucht einen Wert"
inline constexpr int kSecondBook = 92;         // "nur ein Buch kann angegeben werden (%s ist das zweite)"
inline constexpr int kDumpWithBook = 93;       // "--dump-book nimmt das Buch selbst (nicht dazu %s)"
inline constexpr int kEmptyHome = 97;          // "--home braucht einen Ordner"
inline constexpr int kNoDisplay = 98;          // "Das Fenster kann nicht geöffnet werden: keine grafische Sitzung ..."
inline constexpr int kStateFolderUnusable = 99;  // "der Ordner %s kann nicht verwendet werden"

// The about entry of the system menu.
inline constexpr int kAboutMenuItem = 1090;  // "&Info über Korvin 2.0..."

}  // namespace korvin::str
